// Uninstall.ini, the record the separate uninstaller reads: numbered sections of files,
// folders, registry keys and values and the like, plus the texts and facts it needs.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "app/ini_file.h"

class TUninstallRecord {
 public:
  // Opens (or prepares to create) the record at that path.
  explicit TUninstallRecord(const std::string& path);

  const std::string& Path() const { return file_.Path(); }
  IniFile& File() { return file_; }

  // Adds the value to a numbered section unless an equal value (case matters) is there already.
  // The key is the number of keys found, or the next free number when that one is taken.
  bool Add(const std::string& section, const std::string& value);
  // Adds each value of the list the same way, in order, reaching the disk in one update.
  bool AddAll(const std::string& section, const std::vector<std::string>& values);

 private:
  struct NumberedSection {
    std::unordered_set<std::string> values;
    std::unordered_set<std::string> keys;  // lower case
    unsigned next = 0;
  };
  // Loaded from the file on first use and kept while the file is not read again, so that each
  // record costs the same however long the section grows.
  NumberedSection& Section(const std::string& name);
  std::string TakeKey(NumberedSection& section);

  IniFile file_;
  std::unordered_map<std::string, NumberedSection> sections_;
  uint64_t loadsSeen_ = 0;  // the file's Loads() the sections were taken from
};

// Records one value for the uninstaller in the run's open record; nothing when no record is open.
void AddUninstallRecord(const std::string& section, const std::string& value);
