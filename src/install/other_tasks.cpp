#include "install/other_tasks.h"

#include <cstdint>
#include <vector>

#include "app/run_state.h"
#include "install/entry_fields.h"
#include "install/install_window.h"
#include "install/uninstall_record.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/system_register.h"
#include "text/language.h"
#include "text/path_parts.h"
#include "text/variables.h"
#include "wizard/form_view.h"

namespace {

constexpr int kFontStatus = 7;
constexpr int kActiveXStatus = 8;
constexpr int kTypeLibraryStatus = 9;
constexpr int kFontFailed = 21;
constexpr int kActiveXFailed = 22;
constexpr int kTypeLibraryFailed = 23;
constexpr int kShowNormal = 1;
constexpr uint32_t kPauseAfterEntry = 100;

const char* const kDesktopKey = "Control Panel\\Desktop";

void ShowError(const std::string& text) {
  platform::ShowMessageBox(InstallWindow(), text, "Setup",
                           platform::kMbOk | platform::kMbIconError);
  Run().InstallErrors = true;
}

void ReportFailure(int message, const std::string& path) {
  ShowError(FormatMessageText(ReadText("Messages", message), path));
}

void ShowStatus(int number) {
  if (Run().Form) Run().Form->SetText(FormControl::Label8, ReadText("Install", number));
}

// Starts rundll32 through the shell without waiting; what becomes of it is not examined.
void StartRundll(const std::string& parameters) {
  platform::ShellOpenWith("rundll32.exe", parameters, "", kShowNormal);
}

// Each task below answers whether the file is now the system's, and so is to be recorded.

bool RegisterFont(const std::string& path) {
  ShowStatus(kFontStatus);
  if (!platform::AddFontFile(path)) {
    ReportFailure(kFontFailed, path);
    return false;
  }
  platform::BroadcastFontChange();
  return true;
}

bool RegisterServer(const std::string& path) {
  ShowStatus(kActiveXStatus);
  switch (platform::CallDllRegisterServer(path)) {
    case platform::SelfRegisterResult::Registered:
      return true;
    case platform::SelfRegisterResult::NoEntryPoint:
      StartRundll("/s " + path);
      return true;
    case platform::SelfRegisterResult::NotLoaded:
      // A server that cannot even be loaded is not registered: saying nothing would let the
      // installation report success for a product that cannot work.
    case platform::SelfRegisterResult::Failed:
      break;
  }
  ReportFailure(kActiveXFailed, path);
  return false;
}

bool RegisterTypeLibrary(const std::string& path) {
  ShowStatus(kTypeLibraryStatus);
  // As with servers, a file that does not load as a type library is a failure, not a skip.
  if (platform::RegisterTypeLibrary(path, FolderOfPath(path)) !=
      platform::TypeLibResult::Registered) {
    ReportFailure(kTypeLibraryFailed, path);
    return false;
  }
  return true;
}

// Failures are not reported: the wallpaper is decoration. A failed step skips the rest.
bool SetWallpaper(const std::string& path) {
  using platform::RegistryRoot;
  using platform::RegistryValueType;
  return platform::RegistryCreateKey(RegistryRoot::CurrentUser, kDesktopKey) &&
         platform::RegistryWriteValue(RegistryRoot::CurrentUser, kDesktopKey, "Wallpaper",
                                      {RegistryValueType::String, path}) &&
         platform::RegistryWriteValue(RegistryRoot::CurrentUser, kDesktopKey, "TileWallpaper",
                                      {RegistryValueType::String, "0"}) &&
         platform::SetDesktopWallpaper(path);
}

}  // namespace

void ApplyOtherTask(const std::string& entry) {
  std::vector<std::string> fields = SplitEntry(entry, kTaskSeparator);
  if (fields.size() != 3) return;
  const std::string& kind = fields[0];
  const std::string path = ExpandVariables(fields[1]);
  const bool keep = fields[2] == "Yes";

  if (!platform::FileExists(path)) {
    ShowError(FormatMessageText("File not found:<#>%s", path));
    return;
  }

  if (kind == "Font") {
    if (RegisterFont(path) && !keep) AddUninstallRecord("Fonts", path);
  } else if (kind == "ActiveX") {
    if (RegisterServer(path) && !keep) AddUninstallRecord("ActiveX", path);
  } else if (kind == "Type Library") {
    if (RegisterTypeLibrary(path) && !keep) AddUninstallRecord("TypeLibrary", path);
  } else if (kind == "ScreenSaver") {
    StartRundll("desk.cpl,InstallScreenSaver " + path);
    AddUninstallRecord("ScreenSaver", path);
  } else if (kind == "Wallpaper") {
    if (SetWallpaper(path)) AddUninstallRecord("Wallpaper", path);
  }

  platform::ProcessMessages();
  platform::SleepMilliseconds(kPauseAfterEntry);
}
