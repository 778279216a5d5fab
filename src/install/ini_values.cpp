#include "install/ini_values.h"

#include <cstdint>
#include <string_view>
#include <vector>

#include "app/ini_file.h"
#include "app/ini_text.h"
#include "app/run_state.h"
#include "install/entry_fields.h"
#include "install/install_window.h"
#include "install/uninstall_record.h"
#include "platform/file_system.h"
#include "platform/ini_service.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "text/language.h"
#include "text/message_format.h"
#include "text/variables.h"

namespace {

constexpr int kIniWriteFailed = 19;
constexpr uint32_t kPauseAfterValue = 100;

// The blanks the INI service ignores around a name.
bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f' || c == '\x1A';
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Whether a write of the key would replace an existing value. Every key of the section counts,
// not just those that fit into the service's key listing: a long section must not make the
// entry overwrite a value it was told to keep.
bool KeyExists(const std::string& path, const std::string& section, const std::string& key) {
  const std::string_view wanted = TrimBlanks(key);
  const IniNameEqual equal;
  for (const std::string& name : platform::IniServiceKeyNames(path, section))
    if (equal(name, wanted)) return true;
  return false;
}

}  // namespace

void WriteIniValue(const std::string& entry) {
  const std::vector<std::string> fields = SplitEntry(entry, kTaskSeparator);
  if (fields.size() != 6) return;
  const std::string path = ExpandVariables(fields[0]);
  const std::string section = ExpandVariables(fields[1]);
  const std::string key = ExpandVariables(fields[2]);
  const std::string value = ExpandVariables(fields[3]);
  const bool overwrite = fields[4] == "Yes";
  const bool removal = fields[5] == "Yes";

  // A file this entry brings into being is the uninstaller's to remove whole.
  if (removal && !platform::FileExists(path)) AddUninstallRecord("Files", path);

  if (!overwrite && KeyExists(path, section, key)) return;

  const bool written = platform::IniServiceWrite(path, section, key, value);
  // The file may be one that an open INI object reads (the uninstall record, the setup script).
  IniFile::NoteOutsideChanges();
  if (written) {
    if (removal) AddUninstallRecord("INIValues", path + "*?" + section + "*?" + key);
  } else {
    platform::ShowMessageBox(
        InstallWindow(),
        FormatMessageText(ReadText("Messages", kIniWriteFailed), path + "\r\n" + key), "Setup",
        platform::kMbOk | platform::kMbIconError);
    Run().InstallErrors = true;
  }
  platform::ProcessMessages();
  platform::SleepMilliseconds(kPauseAfterValue);
}
