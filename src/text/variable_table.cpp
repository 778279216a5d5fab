#include "text/variable_table.h"

#include <array>
#include <exception>

#include "app/run_state.h"
#include "app/temp_folder.h"
#include "platform/folders_known.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "platform/system_facts.h"
#include "text/path_parts.h"
#include "text/registry_text.h"
#include "wizard/form_view.h"

namespace {

constexpr std::array<std::string_view, kBuiltinVariableCount> kNames = {
    "<ProgramFiles>",
    "<CommonFiles>",
    "<WindowsDir>",
    "<SystemDir>",
    "<TempDir>",
    "<FontsDir>",
    "<MyDocuments>",
    "<SystemDrive>",
    "<CurrentDir>",
    "<InstallDir>",
    "<SentTo>",
    "<Favorites>",
    "<CommonFavorites>",
    "<Templates>",
    "<AppData>",
    "<LocalSettings>",
    "<UserProfile>",
    "<Desktop>",
    "<StartMenu>",
    "<ProgramsMenu>",
    "<StartUp>",
    "<CommonDesktop>",
    "<CommonStartMenu>",
    "<CommonProgramsMenu>",
    "<CommonStartUp>",
    "<ProgramGroup>",
    "<QuickLaunch>",
    "<AppName>",
    "<AppVersion>",
    "<CompanyName>",
    "<WebSite>",
    "<SupportLink>",
    "<UserName>",
    "<UserCompany>",
    "<Date>",
    "<LocalAppData>",
    "<CommonAppData>",
    "<CommonMyDocuments>",
    "<CommonTemplates>",
    "<AllUserProfile>",
    "<CustomUserInfo>",
    "<Language>",
    "<Lng>",
    "<LngID>",
    "<SetupTempDir>",
    "<SystemLngID>",
    "<BuildDate>",
    "<SetupExe>",
};

// The expansion finds names by the stretch from '<' to the next '>', which needs names
// without inner brackets and no longer than kLongestBuiltinName.
constexpr bool NamesAreScannable() {
  for (std::string_view name : kNames) {
    if (name.size() < 3 || name.size() > kLongestBuiltinName) return false;
    if (name.front() != '<' || name.back() != '>') return false;
    if (name.substr(1, name.size() - 2).find_first_of("<>") != std::string_view::npos) return false;
  }
  return true;
}
static_assert(NamesAreScannable());

constexpr char kCurrentVersionKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
constexpr char kUserShellFolders[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr char kMachineShellFolders[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// Shell folder constants (CSIDL) of the table.
constexpr int kCsidlDesktop = 0;
constexpr int kCsidlPrograms = 2;
constexpr int kCsidlPersonal = 5;
constexpr int kCsidlFavorites = 6;
constexpr int kCsidlStartup = 7;
constexpr int kCsidlSendTo = 9;
constexpr int kCsidlStartMenu = 11;
constexpr int kCsidlFonts = 20;
constexpr int kCsidlTemplates = 21;
constexpr int kCsidlCommonStartMenu = 22;
constexpr int kCsidlCommonPrograms = 23;
constexpr int kCsidlCommonStartup = 24;
constexpr int kCsidlCommonDesktop = 25;
constexpr int kCsidlAppData = 26;
constexpr int kCsidlCommonFavorites = 31;

std::string ScriptText(const char* key) {
  const RunState& run = Run();
  return run.SetupScript ? run.SetupScript->ReadString("Setup", key, "") : std::string();
}

// A wizard field; empty while there is no form.
std::string FieldText(FormControl control) {
  const FormView* form = Run().Form;
  return form ? form->Text(control) : std::string();
}

std::string LanguageInfo(const char* key) {
  const RunState& run = Run();
  return run.LanguageTable ? run.LanguageTable->ReadString("Info", key, "") : std::string();
}

std::string UserShellFolder(const char* name) {
  return ReadRegistryString(platform::RegistryRoot::CurrentUser, kUserShellFolders, name);
}

std::string MachineShellFolder(const char* name) {
  return ReadRegistryString(platform::RegistryRoot::LocalMachine, kMachineShellFolders, name);
}

std::string QuickLaunchFolder() {
  std::string appData = UserShellFolder("AppData");
  if (appData.empty()) return appData;
  if (appData.back() != '\\') appData += '\\';
  return appData + "Microsoft\\Internet Explorer\\Quick Launch";
}

std::string ProgramGroupFolder() {
  const RunState& run = Run();
  bool allUsers = run.SetupScript && run.SetupScript->ReadBool("Setup", "AllUsersMenu", false);
  return ComputeBuiltinValue(allUsers ? kVarCommonProgramsMenu : kVarProgramsMenu) + "\\" +
         FieldText(FormControl::ComboBox1);
}

// The value before the common trailing-backslash rule.
std::string RawValue(int position) {
  using platform::SpecialFolderPath;
  switch (position) {
    case 1:
      return ReadRegistryString(platform::RegistryRoot::LocalMachine, kCurrentVersionKey,
                                "ProgramFilesDir");
    case 2:
      return ReadRegistryString(platform::RegistryRoot::LocalMachine, kCurrentVersionKey,
                                "CommonFilesDir");
    case 3:
      return platform::WindowsFolder();
    case 4:
      return platform::SystemFolder();
    case 5:
      return UserTempDir();
    case 6:
      return SpecialFolderPath(kCsidlFonts);
    case 7:
      return SpecialFolderPath(kCsidlPersonal);
    case 8:
      return platform::WindowsFolder().substr(0, 2);
    case 9:
      return FolderOfPath(platform::ExecutablePath());
    case 10:
      return FieldText(FormControl::Edit1);
    case 11:
      return SpecialFolderPath(kCsidlSendTo);
    case 12:
      return SpecialFolderPath(kCsidlFavorites);
    case 13:
      return SpecialFolderPath(kCsidlCommonFavorites);
    case 14:
      return SpecialFolderPath(kCsidlTemplates);
    case 15:
      return SpecialFolderPath(kCsidlAppData);
    case 16:
      return UserShellFolder("Local Settings");
    case 17:
      return FolderOfPath(ComputeBuiltinValue(18));
    case 18:
      return SpecialFolderPath(kCsidlDesktop);
    case 19:
      return SpecialFolderPath(kCsidlStartMenu);
    case 20:
      return SpecialFolderPath(kCsidlPrograms);
    case 21:
      return SpecialFolderPath(kCsidlStartup);
    case 22:
      return SpecialFolderPath(kCsidlCommonDesktop);
    case 23:
      return SpecialFolderPath(kCsidlCommonStartMenu);
    case 24:
      return SpecialFolderPath(kCsidlCommonPrograms);
    case 25:
      return SpecialFolderPath(kCsidlCommonStartup);
    case 26:
      return ProgramGroupFolder();
    case 27:
      return QuickLaunchFolder();
    case 28:
      return ScriptText("AppName");
    case 29:
      return ScriptText("AppVersion");
    case 30:
      return ScriptText("CompanyName");
    case 31:
      return ScriptText("WebSite");
    case 32:
      return ScriptText("SupportLink");
    case 33:
      return FieldText(FormControl::EUser);
    case 34:
      return FieldText(FormControl::ECompany);
    case 35:
      return platform::ShortDateToday();
    case 36:
      return UserShellFolder("Local AppData");
    case 37:
      return MachineShellFolder("Common AppData");
    case 38:
      return MachineShellFolder("Common Documents");
    case 39:
      return MachineShellFolder("Common Templates");
    case 40:
      return FolderOfPath(ComputeBuiltinValue(22));
    case 41:
      return FieldText(FormControl::ECustomInfo);
    case 42:
      return FieldText(FormControl::ComboLng);
    case 43:
      return LanguageInfo("lng");
    case 44:
      return LanguageInfo("id");
    case 45:
      return Run().TempFolder;
    case 46:
      return std::to_string(platform::SystemDefaultLanguageId());
    case 47:
      return ScriptText("BuildDate");
    case 48:
      return platform::ExecutablePath();
    default:
      return std::string();
  }
}

}  // namespace

std::string_view BuiltinVariableName(int position) {
  if (position < 1 || position > kBuiltinVariableCount) return std::string_view();
  return kNames[static_cast<size_t>(position - 1)];
}

std::string ComputeBuiltinValue(int position) {
  return WithoutOneTrailingBackslash(RawValue(position));
}

std::string GetVariableValue(int position) {
  // Direct callers want a text: a value that cannot be computed is empty for them.
  try {
    return ComputeBuiltinValue(position);
  } catch (const std::exception&) {
    return std::string();
  }
}
