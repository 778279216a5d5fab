#include "install/uninstall_registration.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "app/run_state.h"
#include "install/install_window.h"
#include "install/registry_data.h"
#include "install/uninstall_record.h"
#include "platform/clock.h"
#include "platform/message_box.h"
#include "platform/number_text.h"
#include "platform/registry.h"
#include "text/language.h"
#include "text/variables.h"

namespace {

constexpr int kRegistrationFailed = 15;
constexpr const char* kUninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

struct NamedValue {
  const char* name;
  platform::RegistryValue value;
};

platform::RegistryValue String(std::string text) {
  return {platform::RegistryValueType::String, std::move(text)};
}

std::string DateDigits(const platform::LocalDateTime& date) {
  return DecimalText(static_cast<uint64_t>(date.year), 4) +
         DecimalText(static_cast<uint64_t>(date.month), 2) +
         DecimalText(static_cast<uint64_t>(date.day), 2);
}

// A name of nothing but backslashes would name the list itself, and the uninstaller would then
// delete every program's entry.
bool NamesOwnKey(const std::string& appName) {
  return appName.find_first_not_of('\\') != std::string::npos;
}

std::vector<NamedValue> Values() {
  const std::string appName = GetVariableValue(kVarAppName);
  const std::string appVersion = GetVariableValue(kVarAppVersion);
  const std::string mainExecutable =
      Run().UninstallRecord
          ? Run().UninstallRecord->File().ReadString("General", "MainExecutable", "")
          : std::string();
  const int32_t filesSize =
      Run().SetupScript ? Run().SetupScript->ReadInteger("Setup", "FilesSize", 0) : 0;

  std::vector<NamedValue> values;
  values.push_back({"DisplayName", String(appName + " " + appVersion)});
  values.push_back({"DisplayVersion", String(appVersion)});
  if (!mainExecutable.empty()) values.push_back({"DisplayIcon", String(mainExecutable)});
  values.push_back({"InstallLocation", String(GetVariableValue(kVarInstallDir))});
  // Integer division cuts toward zero, also for a negative size in a damaged script.
  values.push_back({"EstimatedSize", DWordValue(static_cast<uint32_t>(filesSize / 1024))});
  values.push_back({"InstallDate", String(DateDigits(platform::LocalNow()))});
  values.push_back({"HelpLink", String(ExpandVariables(GetVariableValue(kVarSupportLink)))});
  values.push_back({"Publisher", String(GetVariableValue(kVarCompanyName))});
  values.push_back({"UninstallString", String(ExpandVariables("<InstallDir>\\Uninstall.exe"))});
  values.push_back({"URLInfoAbout", String(ExpandVariables(GetVariableValue(kVarWebSite)))});
  return values;
}

bool WriteValues(const std::string& key) {
  using platform::RegistryRoot;
  if (!platform::RegistryCreateKey(RegistryRoot::LocalMachine, key)) return false;
  for (const NamedValue& value : Values())
    if (!platform::RegistryWriteValue(RegistryRoot::LocalMachine, key, value.name, value.value))
      return false;
  return true;
}

}  // namespace

void RegisterUninstallInformation() {
  const std::string appName = GetVariableValue(kVarAppName);
  const std::string key = std::string(kUninstallKey) + appName;
  const bool ownKey = NamesOwnKey(appName);
  if (!ownKey || !WriteValues(key)) {
    platform::ShowMessageBox(
        InstallWindow(),
        FormatMessageText(ReadText("Messages", kRegistrationFailed), "HKEY_LOCAL_MACHINE\\" + key),
        "Setup", platform::kMbOk | platform::kMbIconError);
    Run().InstallErrors = true;
  }
  // Recorded also after a failure: the uninstaller removes whatever part was written.
  if (ownKey) AddUninstallRecord("RegistryKeys", "HKEY_LOCAL_MACHINE*?" + key);
}
