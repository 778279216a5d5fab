// INI files of 8-bit text: the setup script, the language files and the uninstall record.
// Names compare without regard to case; a missing file, section or key yields the caller's
// default. Reads are served from a parsed image of the file, indexed for lookups, so reading
// thousands of keys never re-reads the file. Writes reach the disk at once and atomically:
// a crash leaves either the old or the new file, never a half-written one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class IniFile {
 public:
  // Succeeds even when the file is missing; it is then empty until written.
  explicit IniFile(std::string path);
  ~IniFile();
  IniFile(const IniFile&) = delete;
  IniFile& operator=(const IniFile&) = delete;

  const std::string& Path() const;

  // At most kMaxValueLength characters of the value.
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& defaultValue) const;
  // "0x"/"0X" hexadecimal (more than two characters), otherwise optional blanks and sign, then
  // decimal digits or "$" hexadecimal; anything else yields the default.
  int32_t ReadInteger(const std::string& section, const std::string& key,
                      int32_t defaultValue) const;
  // An integer reading with default 1 or 0; any integer other than 0 is true.
  bool ReadBool(const std::string& section, const std::string& key, bool defaultValue) const;
  // Key names of the section in file order, as far as they fit into kListingLimit bytes
  // (each name with its terminator).
  std::vector<std::string> ReadSection(const std::string& section) const;
  // The key is among the section's listed keys.
  bool ValueExists(const std::string& section, const std::string& key) const;

  // Replaces the value of an existing key or adds the key at the end of its section (the
  // section at the end of the file). Returns false when the file could not be written; the
  // file on disk is then unchanged.
  bool WriteString(const std::string& section, const std::string& key, const std::string& value);

  static constexpr size_t kMaxValueLength = 2047;
  static constexpr size_t kListingLimit = 16384;

 private:
  struct Image;
  std::string path_;
  Image* image_;
};

// The reading rules on their own, for values that do not come from a file.
bool ParseIniInteger(const std::string& text, int32_t& result);
