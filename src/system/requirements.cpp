#include "system/requirements.h"

#include <memory>
#include <string>

#include "app/exit_codes.h"
#include "app/run_state.h"
#include "app/temp_folder.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "platform/shell.h"
#include "system/group_membership.h"
#include "system/internet_probe.h"
#include "system/os_info.h"
#include "system/process_search.h"
#include "system/product_versions.h"
#include "system/sql_edition.h"
#include "system/windows_family.h"
#include "text/language.h"
#include "text/variables.h"

namespace {

bool SetupFlag(const std::string& key, bool defaultValue) {
  const std::unique_ptr<IniFile>& script = Run().SetupScript;
  return script ? script->ReadBool("Setup", key, defaultValue) : defaultValue;
}

std::string SetupText(const std::string& key, const std::string& defaultValue) {
  const std::unique_ptr<IniFile>& script = Run().SetupScript;
  return script ? script->ReadString("Setup", key, defaultValue) : defaultValue;
}

std::string GateCaption() { return "Setup - " + Run().SetupTitle; }

std::string GateMessage(int number, const std::string& argument) {
  return FormatMessageText(ReadText("Messages", number), argument);
}

[[noreturn]] void StopWithMessage(int number, const std::string& argument) {
  ShowStopMessage(GateMessage(number, argument));
  StopByCheck();
}

// The program named by CloseAppFile must be closed; Retry looks again, with the keys read again.
void WaitForClosedProgram() {
  while (SetupFlag("CloseApp", false)) {
    if (!IsProcessRunning(ExpandVariables(SetupText("CloseAppFile", "")))) return;
    std::string text = GateMessage(6, ExpandVariables(SetupText("CloseAppText", "")));
    int answer = platform::ShowMessageBox(0, text, GateCaption(),
                                          platform::kMbRetryCancel | platform::kMbIconWarning);
    if (answer != platform::kIdRetry) StopByCheck();
  }
}

// A product is missing or too old: offer its download, then stop either way, since the setup
// cannot go on without it.
[[noreturn]] void OfferProduct(int number, const std::string& required, const char* linkKey) {
  int answer = platform::ShowMessageBox(0, GateMessage(number, required), GateCaption(),
                                        platform::kMbYesNo | platform::kMbIconWarning);
  if (answer == platform::kIdYes) platform::ShellOpen(ExpandVariables(SetupText(linkKey, "")));
  StopByCheck();
}

struct VersionRequirement {
  const char* switchKey;
  const char* versionKey;
  const char* defaultVersion;
  std::string (*installed)();
  int message;
  const char* linkKey;
};

constexpr VersionRequirement kVersionRequirements[] = {
    {"dotNET", "dotNETVersion", "1.0", GetDotNetVersion, 7, "LinkDN"},
    {"IE", "IEVersion", "3.0", GetIEVersion, 8, "LinkIE"},
    {"AR", "ARVersion", "5.0", GetAcrobatReaderVersion, 9, "LinkAR"},
    {"Java", "JavaVersion", "1.2", GetJavaVersion, 10, "LinkJR"},
};

}  // namespace

void ShowStopMessage(const std::string& text) {
  platform::ShowMessageBox(0, text, GateCaption(), platform::kMbOk | platform::kMbIconWarning);
}

void StopByCheck() {
  RunState& run = Run();
  run.SetupScript.reset();
  run.UserVariables.clear();
  run.LanguageTable.reset();
  DeleteTempFolder();
  platform::ExitProcess(kExitStoppedByCheck);
}

void CheckRequirements() {
  if (SetupFlag("x64", false) && !TOSInfo::Is64BitWindows()) StopWithMessage(2, "");

  // A system newer than the table ("WinUnknow") passes unless the script names it.
  auto familyAllowed = [](const std::string& key) { return SetupFlag(key, true); };
  if (!familyAllowed(GetWindowsFamily())) StopWithMessage(3, AllowedFamilyList(familyAllowed));

  if (SetupFlag("Admin", false) && !HasAdminRights()) StopWithMessage(4, "");
  if (SetupFlag("Internet", false) && !IsInternetAvailable()) StopWithMessage(5, "");

  WaitForClosedProgram();

  for (const VersionRequirement& product : kVersionRequirements) {
    if (!SetupFlag(product.switchKey, false)) continue;
    std::string required = SetupText(product.versionKey, product.defaultVersion);
    if (!VersionAtLeast(product.installed(), required))
      OfferProduct(product.message, required, product.linkKey);
  }

  if (SetupFlag("SQL", false)) {
    std::string required = SetupText("SQLVersion", "2000");
    if (!SqlEditionAtLeast(GetSQLServerEdition(), required)) OfferProduct(24, required, "LinkSQL");
  }
}
