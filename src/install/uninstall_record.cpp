#include "install/uninstall_record.h"

#include <cctype>

#include "app/run_state.h"
#include "install/install_window.h"
#include "platform/file_system.h"
#include "text/message_format.h"

namespace {

// No language file has a text for it; the style is that of the installation's errors.
constexpr const char* kRecordNotWritten = "Setup could not write the uninstall information:<#>%s";

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool Readable(const std::string& path) {
  platform::FileHandle file =
      platform::FileOpen(path, platform::FileAccess::Read, platform::FileCreation::OpenExisting);
  if (file == platform::kInvalidFile) return false;
  platform::FileClose(file);
  return true;
}

}  // namespace

TUninstallRecord::TUninstallRecord(const std::string& path, std::string shownPath, bool kept)
    : file_(path), shownPath_(shownPath.empty() ? path : std::move(shownPath)), kept_(kept) {
  unreadable_ = platform::FileExists(path) && !Readable(path);
}

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

// A failed write may have left the file locked or unreadable (the writer then reads it again);
// from then on nothing is written into what could no longer be seen.
bool TUninstallRecord::Writable() {
  if (unreadable_) return false;
  if (platform::FileExists(file_.Path()) && !Readable(file_.Path())) unreadable_ = true;
  return !unreadable_;
}

bool TUninstallRecord::Failed() {
  if (kept_) ReportRecordFailure(shownPath_);
  return false;
}

bool TUninstallRecord::WriteTexts(const std::vector<IniWrite>& writes) {
  if (unreadable_) return Failed();
  if (file_.WriteStrings(writes)) return true;
  // As with a list of records: what fits goes in, in order.
  for (const IniWrite& write : writes)
    if (!Writable() || !file_.WriteString(write.section, write.key, write.value)) break;
  Writable();
  return Failed();
}

bool TUninstallRecord::Add(const std::string& section, const std::string& value) {
  return AddAll(section, {value});
}

bool TUninstallRecord::AddAll(const std::string& section, const std::vector<std::string>& values) {
  if (Write(section, values)) return true;
  if (values.size() > 1 && !unreadable_) {
    // Whatever still fits goes in, in order; the first value that does not ends the attempt,
    // so a file that takes nothing is not tried once per value.
    for (const std::string& value : values)
      if (!Write(section, {value})) break;
  }
  return Failed();
}

bool TUninstallRecord::Write(const std::string& section, const std::vector<std::string>& values) {
  if (unreadable_) return false;
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
  Writable();
  return false;
}

void ReportRecordFailure(const std::string& shownPath) {
  RunState& run = Run();
  run.InstallErrors = true;
  if (run.RecordFailureReported) return;
  run.RecordFailureReported = true;
  platform::ShowMessageBox(InstallWindow(), FormatMessageText(kRecordNotWritten, shownPath),
                           "Setup", platform::kMbOk | platform::kMbIconError);
}

void AddUninstallRecord(const std::string& section, const std::string& value) {
  if (Run().UninstallRecord) Run().UninstallRecord->Add(section, value);
}
