#include "install/commands.h"

#include <vector>

#include "app/ini_file.h"
#include "install/entry_fields.h"
#include "install/uninstall_record.h"
#include "platform/file_system.h"
#include "platform/process.h"
#include "platform/process_run.h"
#include "platform/shell.h"
#include "text/path_parts.h"
#include "text/variables.h"

namespace {

constexpr size_t kCommandLimit = 255;

std::string Cut(const std::string& text) { return text.substr(0, kCommandLimit); }

// The folder part of a path with its trailing backslash, as the program's working folder.
std::string FolderWithBackslash(const std::string& path) {
  size_t last = path.find_last_of("\\:");
  return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

void Open(const std::string& target, const std::string& parameters, int show) {
  if (platform::FileExists(target)) {
    platform::ShellOpenWith(NameOfPath(target), parameters, FolderWithBackslash(target), show);
  } else {
    // An address or a name the shell resolves itself: opened whole, without parameters.
    platform::ShellOpenWith(target, "", "", show);
  }
}

}  // namespace

int ShowValueOf(const std::string& word) {
  if (word == "Maximize") return 3;
  if (word == "Minimize") return 2;
  if (word == "Hide") return 0;
  return 1;
}

bool RunAndWait(const std::string& program, const std::string& parameters, int show) {
  std::string path = Cut(program);
  std::string commandLine = Cut("\"" + path + "\" " + Cut(parameters));
  bool started = platform::RunProcessAndWait(commandLine, FolderWithBackslash(path), show);
  // The program may have changed the setup script or the uninstall record.
  IniFile::NoteOutsideChanges();
  return started;
}

void RunCommand(CommandPhase phase, const std::string& entry) {
  std::vector<std::string> fields = SplitEntry(entry, kTaskSeparator);
  // Without its moment word or wait flag an entry cannot say when or how it runs: it is
  // skipped rather than guessed at.
  if (fields.size() < 5) return;
  std::string target = ExpandVariables(fields[0]);
  std::string parameters = ExpandVariables(fields[1]);
  int show = ShowValueOf(fields[2]);
  const std::string& moment = fields[3];
  bool wait = fields[4] == "Yes";
  bool runNow = (phase == CommandPhase::BeforeInstallation && moment == "Before Installation") ||
                (phase == CommandPhase::AfterInstallation && moment == "After Installation");
  if (runNow) {
    if (wait)
      RunAndWait(target, parameters, show);
    else
      Open(target, parameters, show);
    IniFile::NoteOutsideChanges();
    platform::ProcessMessages();
    return;
  }
  if (phase != CommandPhase::AfterInstallation) return;
  std::string record = target + "*?" + parameters + "*?" + fields[2] + "*?" + fields[4];
  if (moment == "Before Uninstallation") AddUninstallRecord("ExecBeforeUninstall", record);
  if (moment == "After Uninstallation") AddUninstallRecord("ExecAfterUninstall", record);
  platform::ProcessMessages();
}
