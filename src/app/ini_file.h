// INI files of 8-bit text: the setup script, the language files and the uninstall record.
// Names compare without regard to case; a missing file, section or key yields the caller's
// default (the reading rules are in ini_text.h and ini_integer.h). The file is read once into
// an indexed image, so reading thousands of keys never re-reads it.
//
// Writes reach the disk before WriteString returns, and a crash or a killed process leaves the
// old or the new content, never a half-written line. The object assumes it is the only writer
// of its file while it lives: open one object per file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/ini_integer.h"
#include "app/ini_text.h"

struct IniWrite {
  std::string section;
  std::string key;
  std::string value;
};

class IniFile {
 public:
  static constexpr size_t kMaxValueLength = IniText::kMaxValueLength;
  static constexpr size_t kListingLimit = IniText::kListingLimit;

  // Succeeds even when the file is missing or unreadable; it is then empty until written.
  explicit IniFile(std::string path);
  IniFile(const IniFile&) = delete;
  IniFile& operator=(const IniFile&) = delete;

  const std::string& Path() const { return path_; }

  // At most kMaxValueLength characters of the value.
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const {
    return text_.ReadString(section, key, defaultValue);
  }
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t defaultValue) const {
    return text_.ReadInteger(section, key, defaultValue);
  }
  // An integer reading with default 1 or 0; any integer other than 0 is true.
  bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
    return text_.ReadBool(section, key, defaultValue);
  }
  // Key names of the section in file order, as far as they fit into kListingLimit bytes
  // (each name with its terminator).
  std::vector<std::string> ReadSection(std::string_view section) const {
    return text_.ReadSection(section);
  }
  std::vector<std::string> ReadSectionComplete(std::string_view section) const {
    return text_.ReadSectionComplete(section);
  }
  // The key is among the section's listed keys.
  bool ValueExists(std::string_view section, std::string_view key) const {
    return text_.ValueExists(section, key);
  }

  // Replaces the value of the key's first occurrence or adds the key after the last key line
  // of its section (the section at the end of the file). Returns false when nothing could be
  // written (the file on disk and the image are then as before) or the key is empty.
  bool WriteString(std::string_view section, std::string_view key, std::string_view value);
  // The writes in order, reaching the disk together: one file update instead of one per key,
  // for long lists. False when any of them failed as WriteString would.
  bool WriteStrings(const std::vector<IniWrite>& writes);

  // Reads the file again, for when someone else has changed it.
  void Reload();

  const IniText& Image() const { return text_; }

 private:
  bool AppendInPlace(size_t oldSize, const std::string& tail, const std::vector<size_t>& lines);
  bool ReplaceWhole();

  std::string path_;
  IniText text_;
};
