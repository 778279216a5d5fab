#include "pack/script_names.h"

#include <algorithm>
#include <cctype>

namespace pack {

const std::vector<std::string_view>& KnownSetupKeys() {
  static const std::vector<std::string_view> keys = {"AppName",
                                                     "AppVersion",
                                                     "CompanyName",
                                                     "WebSite",
                                                     "SupportLink",
                                                     "BuildDate",
                                                     "Win9x",
                                                     "WinNT",
                                                     "Win2000",
                                                     "WinXP",
                                                     "WinSrv2003",
                                                     "WinVista",
                                                     "Win7",
                                                     "x64",
                                                     "Admin",
                                                     "Internet",
                                                     "CloseApp",
                                                     "CloseAppFile",
                                                     "CloseAppText",
                                                     "dotNET",
                                                     "dotNETVersion",
                                                     "LinkDN",
                                                     "IE",
                                                     "IEVersion",
                                                     "LinkIE",
                                                     "AR",
                                                     "ARVersion",
                                                     "LinkAR",
                                                     "Java",
                                                     "JavaVersion",
                                                     "LinkJR",
                                                     "SQL",
                                                     "SQLVersion",
                                                     "LinkSQL",
                                                     "UpgradeMode",
                                                     "PromptUninstall",
                                                     "DisableUpdate",
                                                     "SilentInstall",
                                                     "DefaultLanguage",
                                                     "AutoDetectLanguage",
                                                     "DialogWelcome",
                                                     "DialogLicense",
                                                     "DialogReadme",
                                                     "DialogUserInfo",
                                                     "DialogDestinationFolder",
                                                     "DialogProgramGroup",
                                                     "DialogReady",
                                                     "DialogFinish",
                                                     "AcceptAgreement",
                                                     "InfoUserName",
                                                     "InfoUserNameReq",
                                                     "InfoCompany",
                                                     "InfoCompanyReq",
                                                     "InfoCustom",
                                                     "InfoCustomName",
                                                     "InfoCustomReq",
                                                     "InstallationPath",
                                                     "ProgramGroup",
                                                     "AllUsersMenu",
                                                     "FilesSize",
                                                     "FilesCount",
                                                     "MainExecutable",
                                                     "Uninstall",
                                                     "ShowAddRemove",
                                                     "UninstallForce",
                                                     "UninstallRestart",
                                                     "VisitUninstallPage",
                                                     "UninstallURL",
                                                     "Updater",
                                                     "UpdateURL",
                                                     "RestartComputer",
                                                     "LaunchFile",
                                                     "LaunchFileName",
                                                     "LaunchFileChecked",
                                                     "ViewReadme",
                                                     "ViewReadmeFile",
                                                     "ViewReadmeChecked",
                                                     "CustomAction",
                                                     "CustomActionName",
                                                     "CustomActionCommand",
                                                     "CustomActionChecked",
                                                     "ExistMode",
                                                     "NotRemove"};
  return keys;
}

const std::vector<ListSection>& ListSections() {
  static const std::vector<ListSection> sections = {
      {"Files", "?", 4, 4, "destination?source?existmode?removal"},
      {"Shortcuts", "*?", 8, 8,
       "link*?target*?description*?arguments*?workingfolder*?iconfile*?iconindex*?show"},
      {"Registry", "*?", 7, 7, "root*?key*?name*?type*?data*?overwrite*?removal"},
      {"INI", "*?", 6, 6, "file*?section*?key*?value*?overwrite*?removal"},
      // A trailing empty icon index drops the fifth field.
      {"Extensions", "*?", 4, 5, "extension*?program*?description*?iconfile*?iconindex"},
      {"Others", "*?", 3, 3, "kind*?file*?keep"},
      {"Commands", "*?", 5, 5, "program*?parameters*?show*?moment*?wait"},
      // A trailing empty default drops the sixth field.
      {"Variables", "*?", 5, 6, "<name>*?root*?key*?value*?type*?default"},
  };
  return sections;
}

std::vector<std::string_view> KnownSectionNames() {
  std::vector<std::string_view> names = {"Setup"};
  for (const ListSection& section : ListSections()) names.push_back(section.name);
  return names;
}

namespace {

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

// Edits (insertions, deletions, substitutions, swaps of neighbours) from a to b, letter case
// aside.
size_t Distance(std::string_view a, std::string_view b) {
  const size_t n = a.size();
  const size_t m = b.size();
  std::vector<std::vector<size_t>> d(n + 1, std::vector<size_t>(m + 1));
  for (size_t i = 0; i <= n; ++i) d[i][0] = i;
  for (size_t j = 0; j <= m; ++j) d[0][j] = j;
  for (size_t i = 1; i <= n; ++i) {
    for (size_t j = 1; j <= m; ++j) {
      const size_t cost = Lower(a[i - 1]) == Lower(b[j - 1]) ? 0 : 1;
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
      if (i > 1 && j > 1 && Lower(a[i - 1]) == Lower(b[j - 2]) &&
          Lower(a[i - 2]) == Lower(b[j - 1])) {
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
      }
    }
  }
  return d[n][m];
}

}  // namespace

std::string NearMiss(std::string_view word, const std::vector<std::string_view>& names) {
  const size_t allowed = word.size() <= 4 ? 1 : 2;
  std::string_view best;
  size_t bestDistance = allowed + 1;
  for (std::string_view name : names) {
    const size_t distance = Distance(word, name);
    if (distance < bestDistance) {
      best = name;
      bestDistance = distance;
    }
  }
  return std::string(best);
}

}  // namespace pack
