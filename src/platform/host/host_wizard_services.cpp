// Free space, decimal separator, the folder dialog and the restart on the host: free space and
// separator come from the machine's facts, the folder dialog answers from a queue the test
// fills, and a restart is only logged.
#include "platform/file_system.h"
#include "platform/host/host_control.h"
#include "platform/host/host_state.h"
#include "platform/wizard_services.h"

namespace host {

void QueueFolderChoice(std::optional<std::string> path) {
  State().folderChoices.push_back(std::move(path));
}
void SetFreeSpace(int64_t bytes) { Facts().freeSpace = bytes; }
void SetDecimalSeparator(const std::string& separator) { Facts().decimalSeparator = separator; }

}  // namespace host

namespace platform {

int64_t DriveFreeSpace(char driveLetter) {
  std::string root = host::HostPath(std::string(1, driveLetter) + ":\\");
  if (root.empty() || !platform::FolderExists(std::string(1, driveLetter) + ":\\")) return 0;
  return host::Facts().freeSpace;
}

std::string DecimalSeparator() { return host::Facts().decimalSeparator; }

std::optional<std::string> BrowseForFolder(WindowHandle, const std::string& title) {
  host::HostState& state = host::State();
  host::AppendLog("started.log", "browse " + title + "\n");
  if (state.folderChoices.empty()) return std::nullopt;
  std::optional<std::string> choice = state.folderChoices.front();
  state.folderChoices.erase(state.folderChoices.begin());
  return choice;
}

void RebootWindows() {
  host::State().started.push_back("restart");
  host::AppendLog("started.log", "restart\n");
}

}  // namespace platform
