#include "install/shortcuts.h"

#include <vector>

#include "app/ini_integer.h"
#include "app/run_state.h"
#include "install/commands.h"
#include "install/entry_fields.h"
#include "install/install_window.h"
#include "install/uninstall_record.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "platform/shell_link.h"
#include "text/language.h"
#include "text/path_parts.h"
#include "text/variables.h"
#include "wizard/form_view.h"

namespace {

constexpr size_t kFieldCount = 8;

bool Contains(const std::string& text, const char* word) {
  return text.find(word) != std::string::npos;
}

// The wizard's boxes decide on the raw entry, before any variable is expanded.
bool LeftOutByBoxes(const std::string& entry) {
  const FormView& form = *Run().Form;
  if (Contains(entry, "<ProgramGroup>") && form.Checked(FormControl::CheckBox2)) return true;
  if (Contains(entry, "<Desktop>") && form.Visible(FormControl::CheckBox3) &&
      !form.Checked(FormControl::CheckBox3))
    return true;
  return Contains(entry, "<QuickLaunch>") && form.Visible(FormControl::CheckBox4) &&
         !form.Checked(FormControl::CheckBox4);
}

void Fail(int message, const std::string& argument) {
  platform::ShowMessageBox(InstallWindow(),
                           FormatMessageText(ReadText("Messages", message), argument), "Setup",
                           platform::kMbOk | platform::kMbIconError);
  Run().InstallErrors = true;
}

// Creates the missing folders of the link's path, outermost first, recording each one made.
bool CreateLinkFolders(const std::string& linkPath) {
  for (size_t at = linkPath.find('\\'); at != std::string::npos; at = linkPath.find('\\', at + 1)) {
    std::string folder = linkPath.substr(0, at);
    if (folder.empty() || folder.back() == ':' || platform::FolderExists(folder)) continue;
    if (!platform::FolderCreate(folder)) {
      Fail(13, folder);
      return false;
    }
    AddUninstallRecord("Folders", folder);
  }
  return true;
}

}  // namespace

void CreateShortcut(const std::string& entry) {
  if (LeftOutByBoxes(entry)) return;
  std::vector<std::string> fields = SplitEntry(entry, kTaskSeparator);
  if (fields.size() != kFieldCount) return;
  for (size_t i = 0; i < 6; ++i) fields[i] = ExpandVariables(fields[i]);
  const std::string& linkPath = fields[0];
  platform::ShellLinkFields link;
  link.target = fields[1];
  link.description = fields[2];
  link.arguments = fields[3];
  if (!fields[4].empty()) {
    link.setWorkingFolder = true;
    link.workingFolder = fields[4];
  } else if (platform::FileExists(link.target)) {
    link.setWorkingFolder = true;
    link.workingFolder = FolderOfPath(link.target);
  }
  if (!fields[5].empty()) {
    link.setIcon = true;
    link.iconFile = fields[5];
    int32_t index = 0;
    link.iconIndex = ParseIniInteger(fields[6], index) ? index : 0;
  }
  link.showCommand = ShowValueOf(fields[7]);

  Run().Form->SetText(FormControl::Label14, ShortenDisplayPath(linkPath));
  if (!CreateLinkFolders(linkPath)) return;
  if (!platform::SaveShellLink(linkPath, link)) {
    Fail(16, linkPath);
    return;
  }
  AddUninstallRecord("Files", linkPath);
  platform::ProcessMessages();
  platform::SleepMilliseconds(200);
}
