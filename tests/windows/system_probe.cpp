// Prints what the system probes and the variables return on this Windows (Wine), one
// "name=value" line each, for a test to compare with what the system really has.
//   system_probe.exe SETUP.INI LANGUAGE.LNG [PROGRAM...]
#include <cstdio>
#include <memory>
#include <string>

#include "app/ini_file.h"
#include "app/run_state.h"
#include "platform/process.h"
#include "system/group_membership.h"
#include "system/internet_probe.h"
#include "system/os_info.h"
#include "system/process_search.h"
#include "system/product_versions.h"
#include "system/registered_user.h"
#include "system/sql_edition.h"
#include "system/windows_family.h"
#include "text/variables.h"
#include "wizard/headless_form_view.h"

namespace {

void Print(const std::string& name, const std::string& value) {
  std::printf("%s=%s\n", name.c_str(), value.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: system_probe SETUP.INI LANGUAGE.LNG [PROGRAM...]\n");
    return 2;
  }
  platform::InitProcess(argc, argv);
  HeadlessFormView view;
  view.SetText(FormControl::Edit1, "D:\\");
  view.AddItem(FormControl::ComboBox1, "Probe Group");
  view.SetItemIndex(FormControl::ComboBox1, 0);
  RunState& run = Run();
  run.Form = &view;
  run.TempFolder = "C:\\probe-temp";
  run.SetupScript = std::make_unique<IniFile>(argv[1]);
  run.LanguageTable = std::make_unique<IniFile>(argv[2]);

  Print("family", GetWindowsFamily());
  Print("is64", TOSInfo::Is64BitWindows() ? "1" : "0");
  Print("owner", GetRegisteredUserInfo("user"));
  Print("organization", GetRegisteredUserInfo("company"));
  Print("admin", HasAdminRights() ? "1" : "0");
  Print("administrators", IsUserInGroup(544) ? "1" : "0");
  Print("dotnet", GetDotNetVersion());
  Print("acrobat", GetAcrobatReaderVersion());
  Print("java", GetJavaVersion());
  Print("ie", GetIEVersion());
  Print("sql", GetSQLServerEdition());
  for (int i = 3; i < argc; ++i)
    Print(std::string("running:") + argv[i], IsProcessRunning(argv[i]) ? "1" : "0");
  for (const std::string& key : run.SetupScript->ReadSection("Variables"))
    AddUserVariable(run.SetupScript->ReadString("Variables", key, ""));
  for (int position = 1; position <= 48; ++position)
    Print("var" + std::to_string(position), GetVariableValue(position));
  for (const std::string& entry : run.UserVariables) {
    size_t mark = entry.find('?');
    Print("user:" + entry.substr(0, mark), ExpandVariables(entry.substr(0, mark)));
  }
  return 0;
}
