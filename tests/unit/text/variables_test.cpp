#include "text/variables.h"

#include <gtest/gtest.h>

#include <string>

#include "app/run_state.h"
#include "platform/host/host_control.h"
#include "text/variable_table.h"
#include "text_fixture.h"

namespace {

constexpr char kCurrentVersion[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
constexpr char kUserShellFolders[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr char kMachineShellFolders[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

class VariablesTest : public TextTest {
 protected:
  void SetUp() override {
    TextTest::SetUp();
    UseScript(
        "[Setup]\r\nAppName=Demo\r\nAppVersion=2.1\r\nCompanyName=Acme\r\n"
        "WebSite=http://acme.example\r\nSupportLink=http://acme.example/help\r\n"
        "BuildDate=2011-03-04\r\n");
  }
};

TEST(BuiltinTable, PositionsOtherPartsAskForNameTheRightVariables) {
  const struct {
    int position;
    const char* name;
  } cases[] = {
      {kVarProgramFiles, "<ProgramFiles>"},
      {kVarTempDir, "<TempDir>"},
      {kVarInstallDir, "<InstallDir>"},
      {kVarProgramsMenu, "<ProgramsMenu>"},
      {kVarCommonProgramsMenu, "<CommonProgramsMenu>"},
      {kVarProgramGroup, "<ProgramGroup>"},
      {kVarAppName, "<AppName>"},
      {kVarAppVersion, "<AppVersion>"},
      {kVarCompanyName, "<CompanyName>"},
      {kVarWebSite, "<WebSite>"},
      {kVarSupportLink, "<SupportLink>"},
      {kVarSetupTempDir, "<SetupTempDir>"},
      {kBuiltinVariableCount, "<SetupExe>"},
      {0, ""},
      {kBuiltinVariableCount + 1, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(BuiltinVariableName(c.position), c.name) << c.position;
}

TEST_F(VariablesTest, BuiltinValuesFollowTheirSources) {
  host::SetWindowsFolder("C:\\WINDOWS");
  host::SetSystemFolder("C:\\WINDOWS\\system32");
  host::SetShortDate("24.12.2010");
  host::SetLanguageId(1031);
  host::SetSpecialFolder(0, "D:\\Users\\bob\\Desktop");
  host::SetSpecialFolder(25, "E:\\Desktop\\");
  host::SetSpecialFolder(20, "C:\\WINDOWS\\Fonts\\");
  host::SetSpecialFolder(5, "");  // cannot be located
  SetRegistryString(true, kCurrentVersion, "ProgramFilesDir", "C:\\Program Files\\");
  SetRegistryString(true, kCurrentVersion, "CommonFilesDir", "C:\\Program Files\\Common Files");
  SetRegistryString(false, kUserShellFolders, "Local AppData", "C:\\Local");
  SetRegistryString(false, kUserShellFolders, "Local Settings", "C:\\Settings\\\\");
  SetRegistryString(true, kMachineShellFolders, "Common AppData", "C:\\ProgramData");
  SetRegistryString(true, kMachineShellFolders, "Common Documents", "C:\\");
  ASSERT_TRUE(host::RegistrySetValue(
      platform::RegistryRoot::LocalMachine, kMachineShellFolders, "Common Templates",
      host::RegistryString("C:\\Tpl", platform::RegistryValueType::ExpandString)));
  UseLanguageTable("[Info]\r\nid=1031\r\nlng=de\r\n");
  view_.SetText(FormControl::Edit1, "D:\\");
  view_.SetText(FormControl::EUser, "Ann");
  view_.SetText(FormControl::ECompany, "Bee Ltd");
  view_.SetText(FormControl::ECustomInfo, "K-123");
  view_.AddItem(FormControl::ComboLng, "Deutsch");
  view_.SetItemIndex(FormControl::ComboLng, 0);

  const struct {
    const char* text;
    const char* expected;
  } cases[] = {
      {"<ProgramFiles>", "C:\\Program Files"},  // one trailing backslash removed
      {"<CommonFiles>", "C:\\Program Files\\Common Files"},
      {"<WindowsDir>|<SystemDir>", "C:\\WINDOWS|C:\\WINDOWS\\system32"},
      {"<SystemDrive>", "C:"},
      {"<TempDir>", "C:\\Users\\setup\\Temp"},
      {"<FontsDir>", "C:\\WINDOWS\\Fonts"},
      {"[<MyDocuments>]", "[]"},
      {"<CurrentDir>", "C:\\Setup"},
      {"<SetupExe>", "C:\\Setup\\setup.exe"},
      {"<InstallDir>", "D:"},
      {"<Desktop>|<UserProfile>", "D:\\Users\\bob\\Desktop|D:\\Users\\bob"},
      // The parent of E:\Desktop is the drive root, and its backslash goes too.
      {"<CommonDesktop>|<AllUserProfile>", "E:\\Desktop|E:"},
      {"<LocalAppData>", "C:\\Local"},
      {"<LocalSettings>", "C:\\Settings\\"},  // only one backslash is removed
      {"<CommonAppData>|<CommonMyDocuments>", "C:\\ProgramData|C:"},
      {"<CommonTemplates>", "C:\\Tpl"},
      {"<AppName> <AppVersion>", "Demo 2.1"},
      {"<CompanyName>|<WebSite>|<SupportLink>",
       "Acme|http://acme.example|http://acme.example/help"},
      {"<BuildDate>", "2011-03-04"},
      {"<UserName>|<UserCompany>|<CustomUserInfo>", "Ann|Bee Ltd|K-123"},
      {"<Date>", "24.12.2010"},
      {"<Language>|<Lng>|<LngID>", "Deutsch|de|1031"},
      {"<SetupTempDir>", TextTest::kTempFolder},
      {"<SystemLngID>", "1031"},
  };
  for (const auto& c : cases) EXPECT_EQ(ExpandVariables(c.text), c.expected) << c.text;
}

TEST_F(VariablesTest, NamesMatchWithoutRegardToCase) {
  EXPECT_EQ(ExpandVariables("<AppName>|<appname>|<APPNAME>|<aPpNaMe>"), "Demo|Demo|Demo|Demo");
  EXPECT_EQ(ExpandVariables("<#><#>"), "\r\n\r\n");
  EXPECT_EQ(ExpandVariables("Unknown <Nope> and <App Name> stay"),
            "Unknown <Nope> and <App Name> stay");
  EXPECT_EQ(ExpandVariables("no brackets: AppName % ? *? \\"), "no brackets: AppName % ? *? \\");
  EXPECT_EQ(ExpandVariables(""), "");
}

TEST_F(VariablesTest, MissingSourcesGiveEmptyValues) {
  host::ClearRegistry();
  ::Run().SetupScript.reset();
  ::Run().Form = nullptr;
  EXPECT_EQ(ExpandVariables("[<ProgramFiles>|<QuickLaunch>|<AppName>|<InstallDir>|<Lng>]"),
            "[||||]");
}

TEST_F(VariablesTest, TheDriveLetterRuleAppliesToTheProgramsFolderToo) {
  host::SetExecutablePath("C:\\setup.exe");
  EXPECT_EQ(ExpandVariables("<CurrentDir>"), "C:");
  host::SetWindowsFolder("D:\\WINNT");
  EXPECT_EQ(ExpandVariables("<SystemDrive>\\x"), "D:\\x");
}

TEST_F(VariablesTest, QuickLaunchJoinsAppDataWithOneBackslash) {
  const std::string suffix = "\\Microsoft\\Internet Explorer\\Quick Launch";
  SetRegistryString(false, kUserShellFolders, "AppData", "C:\\Roaming");
  EXPECT_EQ(ExpandVariables("<QuickLaunch>"), "C:\\Roaming" + suffix);
  SetRegistryString(false, kUserShellFolders, "AppData", "C:\\Roaming\\");
  EXPECT_EQ(ExpandVariables("<QuickLaunch>"), "C:\\Roaming" + suffix);
  SetRegistryString(false, kUserShellFolders, "AppData", "");
  EXPECT_EQ(ExpandVariables("[<QuickLaunch>]"), "[]");
  ASSERT_TRUE(host::RegistryImport("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\" +
                                   std::string(kUserShellFolders) + "]\r\n\"AppData\"=-\r\n"));
  EXPECT_EQ(ExpandVariables("[<QuickLaunch>]"), "[]");
}

TEST_F(VariablesTest, ProgramGroupFollowsAllUsersMenuAndTheGroupBox) {
  host::SetSpecialFolder(2, "C:\\Menu\\Programs");
  host::SetSpecialFolder(23, "C:\\All\\Programs\\");
  const struct {
    const char* allUsers;
    const char* group;
    const char* expected;
  } cases[] = {
      {"0", "Tools", "C:\\Menu\\Programs\\Tools"},
      {"1", "Tools", "C:\\All\\Programs\\Tools"},
      {"0", "", "C:\\Menu\\Programs"},
      {"1", "", "C:\\All\\Programs"},
      {"1", "Acme\\Tools\\", "C:\\All\\Programs\\Acme\\Tools"},
  };
  for (const auto& c : cases) {
    UseScript(std::string("[Setup]\r\nAppName=Demo\r\nAllUsersMenu=") + c.allUsers + "\r\n");
    view_.SetText(FormControl::ComboBox1, c.group);
    EXPECT_EQ(ExpandVariables("<ProgramGroup>"), c.expected) << c.allUsers << " " << c.group;
  }
}

TEST_F(VariablesTest, WizardFieldsAreReadAnewForEveryText) {
  view_.SetText(FormControl::Edit1, "C:\\First");
  EXPECT_EQ(ExpandVariables("<InstallDir>\\a.exe"), "C:\\First\\a.exe");
  view_.SetText(FormControl::Edit1, "C:\\Second\\");
  EXPECT_EQ(ExpandVariables("<InstallDir>\\a.exe"), "C:\\Second\\a.exe");
}

TEST_F(VariablesTest, ALaterReplacementActsOnInsertedTextAnEarlierOneDoesNot) {
  SetRegistryString(true, kCurrentVersion, "ProgramFilesDir", "C:\\PF");
  host::SetSpecialFolder(2, "C:\\Programs");
  // <AppName> comes after <ProgramGroup> in the table, <ProgramFiles> before it.
  view_.SetText(FormControl::ComboBox1, "<AppName>");
  EXPECT_EQ(ExpandVariables("<ProgramGroup>"), "C:\\Programs\\Demo");
  view_.SetText(FormControl::ComboBox1, "<ProgramFiles>");
  EXPECT_EQ(ExpandVariables("<ProgramGroup>"), "C:\\Programs\\<ProgramFiles>");
  // Removing a name can join the text around it into a later name, never an earlier one.
  host::SetSpecialFolder(5, "");
  EXPECT_EQ(ExpandVariables("<App<MyDocuments>Name>"), "Demo");
  EXPECT_EQ(ExpandVariables("<Program<MyDocuments>Files>"), "<ProgramFiles>");
  // The same text expanded once more finishes the job: a second pass is not made.
  EXPECT_EQ(ExpandVariables(ExpandVariables("<ProgramGroup>")), "C:\\Programs\\C:\\PF");
}

TEST_F(VariablesTest, UserVariablesComeFirstAndInListOrder) {
  SetRegistryString(true, kCurrentVersion, "ProgramFilesDir", "C:\\PF");
  std::vector<std::string>& list = ::Run().UserVariables;
  list = {
      "<Target>?<ProgramFiles>\\<AppName><#>",  // built-ins act on a user value
      "<AppName>?Mine",                         // hides the built-in everywhere
      "<appname>?Second",                       // same name: nothing left for it
      "<B>?b-value",
      "<A>?<B>",  // <B> was replaced before <A> inserted it
      "<C>?<D>",
      "<D>?d-value",  // but a later user variable acts on <C>'s value
      "<Self>?[<Self>]",
      "%EDITION%?Pro",  // names need no brackets
      "?orphan",        // an empty name matches nothing
  };
  const struct {
    const char* text;
    const char* expected;
  } cases[] = {
      {"<Target>", "C:\\PF\\Mine\r\n"},
      {"<APPNAME> <AppVersion>", "Mine 2.1"},
      {"<A>", "<B>"},
      {"<C>", "d-value"},
      {"<Self><self>", "[<Self>][<Self>]"},
      {"Edition %edition%", "Edition Pro"},
      {"orphan ?", "orphan ?"},
  };
  for (const auto& c : cases) EXPECT_EQ(ExpandVariables(c.text), c.expected) << c.text;
}

TEST_F(VariablesTest, AUserVariableNameWithAccentsMatchesByTheLocale) {
  ::Run().UserVariables = {
      "<Gr\xF6\xDF"
      "e>?42"};
  EXPECT_EQ(ExpandVariables("<GR\xD6\xDF"
                            "E>|<gr\xF6\xDF"
                            "e>"),
            "42|42");
  EXPECT_EQ(ExpandVariables("<Grosse>"), "<Grosse>");
}

TEST_F(VariablesTest, AValueOfTheWrongTypeLeavesItsNameInTheText) {
  ASSERT_TRUE(host::RegistrySetValue(platform::RegistryRoot::LocalMachine, kCurrentVersion,
                                     "ProgramFilesDir", host::RegistryDWord(7)));
  EXPECT_EQ(ExpandVariables("<ProgramFiles>\\<AppName>"), "<ProgramFiles>\\Demo");
  EXPECT_EQ(GetVariableValue(kVarProgramFiles), "");
  // A value without data reads as an empty text whatever its type.
  ASSERT_TRUE(host::RegistrySetValue(
      platform::RegistryRoot::LocalMachine, kCurrentVersion, "ProgramFilesDir",
      platform::RegistryValue{platform::RegistryValueType::Binary, ""}));
  EXPECT_EQ(ExpandVariables("[<ProgramFiles>]"), "[]");
  // A string value ends at its first NUL.
  SetRegistryString(true, kCurrentVersion, "ProgramFilesDir", std::string("C:\\PF\0junk", 10));
  EXPECT_EQ(ExpandVariables("<ProgramFiles>"), "C:\\PF");
}

TEST_F(VariablesTest, GetVariableValueGivesOneValueByPosition) {
  EXPECT_EQ(GetVariableValue(kVarAppName), "Demo");
  EXPECT_EQ(GetVariableValue(kVarTempDir), "C:\\Users\\setup\\Temp");
  EXPECT_EQ(GetVariableValue(kVarSetupTempDir), TextTest::kTempFolder);
  EXPECT_EQ(GetVariableValue(0), "");
  EXPECT_EQ(GetVariableValue(49), "");
  EXPECT_EQ(GetVariableValue(-1), "");
}

}  // namespace
