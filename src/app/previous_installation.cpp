#include "app/previous_installation.h"

#include <cctype>
#include <optional>

#include "app/exit_codes.h"
#include "app/run_state.h"
#include "app/temp_folder.h"
#include "install/commands.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "text/language.h"
#include "text/path_parts.h"
#include "text/registry_text.h"
#include "text/variables.h"
#include "wizard/form_view.h"

namespace {

constexpr char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
constexpr int kWaitRounds = 5;

std::string EarlierUninstaller() {
  std::string key = kUninstallKey + GetVariableValue(kVarAppName);
  try {
    return ReadRegistryString(platform::RegistryRoot::LocalMachine, key, "UninstallString");
  } catch (...) {
    return std::string();
  }
}

int Ask(int number, uint32_t style) {
  std::string text = FormatMessageText(ReadText("Messages", number), GetVariableValue(kVarAppName));
  return platform::ShowMessageBox(0, text, "Setup - " + Run().SetupTitle, style);
}

[[noreturn]] void Stop(int exitCode) {
  Run().LanguageTable.reset();
  Run().SetupScript.reset();
  DeleteTempFolder();
  platform::ExitProcess(exitCode);
}

bool StartsWithIgnoringCase(const std::string& text, const std::string& prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[i])) !=
        std::tolower(static_cast<unsigned char>(prefix[i])))
      return false;
  }
  return true;
}

// Fixes the destination, and where the earlier record names a Start-menu group relative to the
// menu, the program group, so the new files land where the old ones are.
void InstallOver(const std::string& uninstaller) {
  RunState& run = Run();
  FormView& form = *run.Form;
  form.SetText(FormControl::Edit1, WithoutOneTrailingBackslash(FolderOfPath(uninstaller)));
  form.SetEnabled(FormControl::Edit1, false);
  form.SetEnabled(FormControl::Button4, false);
  std::string recordPath = form.Text(FormControl::Edit1) + "\\Uninstall.ini";
  if (!platform::FileExists(recordPath)) return;
  IniFile record(recordPath);
  if (!record.ValueExists("General", "ProgramGroupDir")) return;
  bool allUsers = run.SetupScript->ReadBool("Setup", "AllUsersMenu", false);
  std::string prefix =
      GetVariableValue(allUsers ? kVarCommonProgramsMenu : kVarProgramsMenu) + "\\";
  std::string group = record.ReadString("General", "ProgramGroupDir", "");
  // The first occurrence of the prefix goes, wherever it stands.
  for (size_t at = 0; at + prefix.size() <= group.size(); ++at) {
    if (StartsWithIgnoringCase(group.substr(at), prefix)) {
      group.erase(at, prefix.size());
      break;
    }
  }
  if (group.size() <= 2 || group[1] == ':') return;
  form.ClearItems(FormControl::ComboBox1);
  form.AddItem(FormControl::ComboBox1, group);
  form.SetItemIndex(FormControl::ComboBox1, 0);
  form.SetEnabled(FormControl::ComboBox1, false);
  form.SetEnabled(FormControl::CheckBox2, false);
}

}  // namespace

void CheckPreviousInstallation() {
  const IniFile& script = *Run().SetupScript;
  for (;;) {
    std::string uninstaller = EarlierUninstaller();
    if (script.ReadInteger("Setup", "UpgradeMode", 0) != 0) return;
    if (uninstaller.empty() || !platform::FileExists(uninstaller)) {
      if (!script.ReadBool("Setup", "DisableUpdate", true)) return;
      Ask(25, platform::kMbOk | platform::kMbIconWarning);
      Stop(kExitStoppedByCheck);
    }
    if (!script.ReadBool("Setup", "PromptUninstall", true)) {
      InstallOver(uninstaller);
      return;
    }
    if (Ask(11, platform::kMbYesNo | platform::kMbIconWarning) != platform::kIdYes)
      Stop(kExitCancelled);
    RunAndWait(uninstaller, "", 1);
    for (int round = 0; round < kWaitRounds && platform::FileExists(uninstaller); ++round) {
      platform::SleepMilliseconds(500);
      platform::ProcessMessages();
    }
    platform::SleepMilliseconds(1000);
  }
}
