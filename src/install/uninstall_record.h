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
  // Opens (or prepares to create) the record at that path. A write that fails is reported
  // (ReportRecordFailure, naming shownPath: the record as the user finds it in the installation
  // folder) when the record is kept; one the run throws away at its end has nothing to lose.
  explicit TUninstallRecord(const std::string& path, std::string shownPath = "",
                            bool kept = false);

  const std::string& Path() const { return file_.Path(); }
  IniFile& File() { return file_; }

  // Writes the uninstaller's texts and facts, in order, in one update.
  bool WriteTexts(const std::vector<IniWrite>& writes);
  // Adds the value to a numbered section unless an equal value (case matters) is there already.
  // The key is the number of keys found, or the next free number when that one is taken.
  bool Add(const std::string& section, const std::string& value);
  // Adds each value of the list the same way, in order, reaching the disk in one update. When
  // that update fails (a disk that is full), the values are tried one by one, as far as they go.
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
  bool Write(const std::string& section, const std::vector<std::string>& values);
  bool Writable();
  bool Failed();

  IniFile file_;
  std::string shownPath_;
  bool kept_;
  // The file exists but could not be read: its records are unknown, and a write could replace
  // them with the few this run adds.
  bool unreadable_ = false;
  std::unordered_map<std::string, NumberedSection> sections_;
  uint64_t loadsSeen_ = 0;  // the file's Loads() the sections were taken from
};

// Records one value for the uninstaller in the run's open record; nothing when no record is open.
void AddUninstallRecord(const std::string& section, const std::string& value);

// The record could not be written completely: an installation error. Sets InstallErrors and,
// once per run, shows a box naming the record file.
void ReportRecordFailure(const std::string& shownPath);
