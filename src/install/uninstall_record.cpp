#include "install/uninstall_record.h"

#include <cctype>

#include "app/run_state.h"

namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

TUninstallRecord::TUninstallRecord(const std::string& path) : file_(path) {}

TUninstallRecord::NumberedSection& TUninstallRecord::Section(const std::string& name) {
  std::string id = Lower(name);
  auto found = sections_.find(id);
  if (found != sections_.end()) return found->second;
  NumberedSection& section = sections_[id];
  std::vector<std::string> keys = file_.ReadSectionComplete(name);
  for (const std::string& key : keys) {
    section.keys.insert(Lower(key));
    section.values.insert(file_.ReadString(name, key, ""));
  }
  section.next = static_cast<unsigned>(keys.size());
  return section;
}

// The count of keys names the new one; should an edited file already use that number, the next
// free one is taken instead of overwriting a record.
std::string TUninstallRecord::TakeKey(NumberedSection& section) {
  std::string key = std::to_string(section.next++);
  while (section.keys.count(key) != 0) key = std::to_string(section.next++);
  section.keys.insert(key);
  return key;
}

bool TUninstallRecord::Add(const std::string& section, const std::string& value) {
  return AddAll(section, {value});
}

bool TUninstallRecord::AddAll(const std::string& section, const std::vector<std::string>& values) {
  // A command or an [INI] value may have written the file since: numbers and values come from
  // the file as it is now, so that nothing they added is overwritten.
  file_.Refresh();
  if (file_.Loads() != loadsSeen_) {
    sections_.clear();
    loadsSeen_ = file_.Loads();
  }
  NumberedSection& numbered = Section(section);
  unsigned nextBefore = numbered.next;
  std::vector<IniWrite> writes;
  for (const std::string& value : values) {
    if (!numbered.values.insert(value).second) continue;
    writes.push_back({section, TakeKey(numbered), value});
  }
  if (writes.empty()) return true;
  bool written = writes.size() == 1 ? file_.WriteString(section, writes[0].key, writes[0].value)
                                    : file_.WriteStrings(writes);
  if (written) return true;
  // Nothing reached the file: forget the values and numbers so a later attempt records them.
  for (const IniWrite& write : writes) {
    numbered.values.erase(write.value);
    numbered.keys.erase(write.key);
  }
  numbered.next = nextBefore;
  return false;
}

void AddUninstallRecord(const std::string& section, const std::string& value) {
  if (Run().UninstallRecord) Run().UninstallRecord->Add(section, value);
}
