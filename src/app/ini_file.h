// INI files of 8-bit text: the setup script, the language files and the uninstall record.
// Names compare without regard to case; a missing file, section or key yields the caller's
// default (the reading rules are in ini_text.h and ini_integer.h). The file is read into an
// indexed image, so reading thousands of keys never re-reads it.
//
// Others may change the file while the object lives: a command the setup runs, an [INI] value
// written through the system's service. The image follows the disk: every write first compares
// the file's size and last-write time with those it was read at (one stat), and so does the
// first read after NoteOutsideChanges(); a file that changed is read again. Reads between two
// notes cost no system call.
//
// Writes reach the disk before WriteString returns, and a crash or a killed process leaves the
// old or the new content, never a half-written line; what an interrupted write left beside the
// file or at its end is removed by the object's first write.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/ini_integer.h"
#include "app/ini_text.h"
#include "platform/file_system.h"

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
    return Current().ReadString(section, key, defaultValue);
  }
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t defaultValue) const {
    return Current().ReadInteger(section, key, defaultValue);
  }
  // An integer reading with default 1 or 0; any integer other than 0 is true.
  bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
    return Current().ReadBool(section, key, defaultValue);
  }
  // Key names of the section in file order, as far as they fit into kListingLimit bytes
  // (each name with its terminator).
  std::vector<std::string> ReadSection(std::string_view section) const {
    return Current().ReadSection(section);
  }
  std::vector<std::string> ReadSectionComplete(std::string_view section) const {
    return Current().ReadSectionComplete(section);
  }
  // The key is among the section's listed keys.
  bool ValueExists(std::string_view section, std::string_view key) const {
    return Current().ValueExists(section, key);
  }

  // Replaces the value of the key's first occurrence or adds the key after the last key line
  // of its section (the section at the end of the file). Returns false when nothing could be
  // written (the file on disk and the image are then as before) or the key is empty.
  bool WriteString(std::string_view section, std::string_view key, std::string_view value);
  // The writes in order, reaching the disk together: one file update instead of one per key,
  // for long lists. False when any of them failed as WriteString would.
  bool WriteStrings(const std::vector<IniWrite>& writes);

  // Something outside the INI objects may have changed INI files (a command ran, the system's
  // service wrote a value): every object checks its file before its next read.
  static void NoteOutsideChanges();
  // Reads the file again when its size or last-write time differ from those it was read at;
  // true when it did.
  bool Refresh() const;
  // Reads the file again in any case.
  void Reload() const;
  // How often the file was read: a caller that keeps facts of its own about the content knows
  // by a change that they may be out of date.
  uint64_t Loads() const { return loads_; }

  const IniText& Image() const { return Current(); }

 private:
  struct Stamp {
    bool exists = false;
    uint64_t size = 0;
    platform::FileTime lastWrite = 0;
    bool operator==(const Stamp&) const = default;
  };
  Stamp DiskStamp() const;
  const IniText& Current() const;
  void RemoveInterruptedWrite();
  bool AppendInPlace(size_t oldSize, const std::string& tail, const std::vector<size_t>& lines);
  bool ReplaceWhole();

  std::string path_;
  // The image, and the disk's state it was read at (or written to).
  mutable IniText text_;
  mutable Stamp stamp_;
  mutable uint64_t notesSeen_ = 0;
  mutable uint64_t loads_ = 0;
  bool wroteBefore_ = false;
};
