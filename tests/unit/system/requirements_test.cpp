// The requirements gate over the host machine: every check, what the user sees and what the
// stop leaves behind.
#include "system/requirements.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/exit_codes.h"
#include "app/ini_file.h"
#include "app/run_state.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "system/os_info.h"
#include "system/system_host_test.h"
#include "wizard/headless_form_view.h"

namespace {

using platform::MembershipAnswer;
using platform::Wow64Answer;

constexpr char kTemp[] = "C:\\Users\\setup\\Temp\\VQTMP417";
constexpr char kCaption[] = "Setup - Demo 1.0";
constexpr uint32_t kStopStyle = 0x30;
constexpr uint32_t kRetryStyle = 0x35;
constexpr uint32_t kOfferStyle = 0x34;

constexpr char kLanguage[] =
    "[Messages]\r\n"
    "2=64-bit Windows is required.%s\r\n"
    "3=This setup runs on Windows %s only.\r\n"
    "4=Administrator rights are required.<#>Log on as an administrator.\r\n"
    "5=An internet connection is required for <AppName>.\r\n"
    "6=Please close %s and choose Retry.\r\n"
    "7=.NET Framework %s is required.<#>Download it now?\r\n"
    "8=Internet Explorer %s is required.\r\n"
    "9=Acrobat Reader %s is required.\r\n"
    "10=Java %s is required.\r\n"
    "24=SQL Server %s is required.\r\n";

struct ProcessEnded {
  int code;
};

// Calls back whenever the gate reads the destination field, which is how a test acts "while
// the message box is open": the gate expands CloseAppFile once per round.
class WatchedFormView : public HeadlessFormView {
 public:
  std::function<void(int reads)> onInstallDirRead;

  std::string Text(FormControl control) const override {
    if (control == FormControl::Edit1 && onInstallDirRead) onInstallDirRead(++reads_);
    return HeadlessFormView::Text(control);
  }

 private:
  mutable int reads_ = 0;
};

class RequirementsTest : public SystemHostTest {
 protected:
  void SetUp() override {
    SystemHostTest::SetUp();
    host::SetExitHandler([](int code) { throw ProcessEnded{code}; });
    WriteFile(Temp("English.lng"), kLanguage);
    RunState& run = ::Run();
    run.TempFolder = kTemp;
    run.TempFolderCreated = true;
    run.SetupTitle = "Demo 1.0";
    run.LanguageTable = std::make_unique<IniFile>(Temp("English.lng"));
    run.UserVariables = {"Unused?1"};
    startedBefore_ = host::StartedLog().size();
    Script("");
  }

  void TearDown() override {
    host::SetExitHandler(nullptr);
    RunState& run = ::Run();
    run.SetupScript.reset();
    run.LanguageTable.reset();
    run.UserVariables.clear();
    run.SetupTitle.clear();
    run.TempFolder.clear();
    run.TempFolderCreated = false;
    run.Form = nullptr;
    SystemHostTest::TearDown();
  }

  // A new sandbox and run for the next row of a table.
  void Fresh() {
    TearDown();
    SetUp();
  }

  static std::string Temp(const std::string& name) { return std::string(kTemp) + "\\" + name; }

  // Opens a setup script with these [Setup] lines (one key per line).
  void Script(const std::string& lines) {
    WriteFile(
        Temp("setup.ini"),
        "[Setup]\r\nAppName=Demo\r\nAppVersion=1.0\r\nWebSite=http://example.org\r\n" + lines);
    ::Run().SetupScript = std::make_unique<IniFile>(Temp("setup.ini"));
  }

  // The exit code when the gate ended the process; nothing when it returned.
  static std::optional<int> Gate() {
    try {
      CheckRequirements();
      return std::nullopt;
    } catch (const ProcessEnded& ended) {
      return ended.code;
    }
  }

  static void ExpectBoxes(const std::vector<std::string>& texts, uint32_t style) {
    const std::vector<host::MessageBoxRecord>& log = host::MessageBoxLog();
    ASSERT_EQ(log.size(), texts.size());
    for (size_t i = 0; i < texts.size(); ++i) {
      EXPECT_EQ(log[i].caption, kCaption);
      EXPECT_EQ(log[i].text, texts[i]);
      EXPECT_EQ(log[i].style, style);
      EXPECT_FALSE(log[i].owned);
    }
  }

  void ExpectStopped(std::optional<int> result) const {
    EXPECT_EQ(result, std::optional<int>(kExitStoppedByCheck));
    EXPECT_FALSE(::Run().SetupScript);
    EXPECT_FALSE(::Run().LanguageTable);
    EXPECT_TRUE(::Run().UserVariables.empty());
    EXPECT_FALSE(platform::FolderExists(kTemp));
  }

  void ExpectPassed(std::optional<int> result) const {
    EXPECT_EQ(result, std::nullopt);
    EXPECT_TRUE(host::MessageBoxLog().empty());
    EXPECT_TRUE(::Run().SetupScript);
    EXPECT_TRUE(::Run().LanguageTable);
    EXPECT_TRUE(platform::FolderExists(kTemp));
    EXPECT_TRUE(Started().empty());
  }

  std::vector<std::string> Started() const {
    const std::vector<std::string>& log = host::StartedLog();
    return std::vector<std::string>(log.begin() + static_cast<ptrdiff_t>(startedBefore_),
                                    log.end());
  }

  size_t startedBefore_ = 0;
};

TEST_F(RequirementsTest, DefaultScriptPassesOnTheDefaultMachine) {
  ExpectPassed(Gate());
  EXPECT_TRUE(host::InternetRequests().empty());
}

TEST_F(RequirementsTest, ShowStopMessageIsAnUnownedWarning) {
  ShowStopMessage("Text<#>as is");
  ExpectBoxes({"Text<#>as is"}, kStopStyle);
}

TEST_F(RequirementsTest, SixtyFourBitRequirementComesBeforeTheFamily) {
  Script("x64=1\r\nWin7=0\r\n");
  host::SetWow64(Wow64Answer::No);
  std::optional<int> result = Gate();
  ExpectBoxes({"64-bit Windows is required."}, kStopStyle);
  ExpectStopped(result);
}

TEST_F(RequirementsTest, SixtyFourBitRequirementMetOnlyUnderWow64) {
  Script("x64=1\r\n");
  host::SetWow64(Wow64Answer::Yes);
  ExpectPassed(Gate());
  host::SetWow64(Wow64Answer::Unavailable);
  EXPECT_EQ(Gate(), std::optional<int>(kExitStoppedByCheck));
}

TEST_F(RequirementsTest, Wow64ErrorLeavesTheGate) {
  Script("x64=1\r\n");
  host::SetWow64(Wow64Answer::Failed);
  EXPECT_THROW(Gate(), ESystemInfo);
  EXPECT_TRUE(host::MessageBoxLog().empty());
  EXPECT_TRUE(::Run().SetupScript);
}

TEST_F(RequirementsTest, Wow64ErrorOnVersion52ComesThroughTheFamilyCheck) {
  host::SetVersion(Version(5, 2, 2));
  host::SetWow64(Wow64Answer::Failed);
  EXPECT_THROW(Gate(), ESystemInfo);
  EXPECT_TRUE(host::MessageBoxLog().empty());
}

struct FamilyGateCase {
  const char* description;
  platform::VersionRecord version;
  Wow64Answer wow64;
  const char* lines;
  const char* list;  // nullptr: passes
};

const char kAllOff[] =
    "Win9x=0\r\nWinNT=0\r\nWin2000=0\r\nWinXP=0\r\nWinSrv2003=0\r\nWinVista=0\r\nWin7=0\r\n";

TEST_F(RequirementsTest, FamilyKeyOfTheCurrentSystemDecides) {
  const auto v = [](uint32_t major, uint32_t minor, uint32_t id) {
    return Version(major, minor, id);
  };
  const FamilyGateCase cases[] = {
      {"XP off", v(5, 1, 2), Wow64Answer::No, "WinXP=0\r\n",
       "95/98/ME/NT/2000/Server 2003/Vista/7"},
      {"only 9x on, on 7", v(6, 1, 2), Wow64Answer::Yes,
       "Win9x=1\r\nWinNT=0\r\nWin2000=0\r\nWinXP=0\r\nWinSrv2003=0\r\nWinVista=0\r\nWin7=0\r\n",
       "95/98/ME"},
      {"all off, on Vista", v(6, 0, 2), Wow64Answer::No, kAllOff, ""},
      {"another family off", v(6, 0, 2), Wow64Answer::No, "Win7=0\r\n", nullptr},
      {"XP x64 counts as XP", v(5, 2, 2), Wow64Answer::Yes, "WinXP=0\r\n",
       "95/98/ME/NT/2000/Server 2003/Vista/7"},
      {"32-bit 5.2 is Server 2003", v(5, 2, 2), Wow64Answer::No, "WinXP=0\r\n", nullptr},
      {"Server 2003 off", v(5, 2, 2), Wow64Answer::No, "WinSrv2003=0\r\n",
       "95/98/ME/NT/2000/XP/Vista/7"},
      {"98 with 9x off", v(4, 10, 1), Wow64Answer::Unavailable, "Win9x=0\r\n",
       "NT/2000/XP/Server 2003/Vista/7"},
      {"NT 4 with NT off", v(4, 0, 2), Wow64Answer::Unavailable, "WinNT=0\r\nWin7=0\r\n",
       "95/98/ME/2000/XP/Server 2003/Vista"},
      {"unknown system passes with every key off", v(6, 2, 2), Wow64Answer::Yes, kAllOff, nullptr},
      {"unknown system stops on its own key", v(6, 2, 2), Wow64Answer::Yes, "WinUnknow=0\r\n",
       "95/98/ME/NT/2000/XP/Server 2003/Vista/7"},
      {"a key at 2 counts as on", v(6, 1, 2), Wow64Answer::Yes, "Win7=2\r\n", nullptr},
  };
  for (const FamilyGateCase& c : cases) {
    SCOPED_TRACE(c.description);
    Fresh();
    host::SetVersion(c.version);
    host::SetWow64(c.wow64);
    Script(c.lines);
    std::optional<int> result = Gate();
    if (c.list) {
      ExpectBoxes({std::string("This setup runs on Windows ") + c.list + " only."}, kStopStyle);
      ExpectStopped(result);
    } else {
      ExpectPassed(result);
    }
  }
}

TEST_F(RequirementsTest, AdministratorRequirement) {
  Script("Admin=1\r\n");
  host::SetMembership(544, MembershipAnswer::No);
  host::SetMembership(547, MembershipAnswer::Yes);
  ExpectPassed(Gate());

  host::SetMembership(547, MembershipAnswer::No);
  std::optional<int> result = Gate();
  ExpectBoxes({"Administrator rights are required.\r\nLog on as an administrator."}, kStopStyle);
  ExpectStopped(result);
}

TEST_F(RequirementsTest, AdministratorRequirementPassesEveryoneOnWindows9x) {
  Script("Admin=1\r\n");
  host::SetVersion(Version(4, 90, 1));
  host::SetMembership(544, MembershipAnswer::No);
  host::SetTokenGroups(std::nullopt);
  ExpectPassed(Gate());
}

TEST_F(RequirementsTest, InternetRequirement) {
  Script("Internet=1\r\n");
  host::SetInternet(true);
  ExpectPassed(Gate());

  host::SetInternet(false);
  std::optional<int> result = Gate();
  // Variables in the message itself stay as written.
  ExpectBoxes({"An internet connection is required for <AppName>."}, kStopStyle);
  ExpectStopped(result);
}

TEST_F(RequirementsTest, ChecksStopAtTheFirstFailure) {
  Script("Admin=1\r\nInternet=1\r\ndotNET=1\r\n");
  host::SetMembership(544, MembershipAnswer::No);
  host::SetMembership(547, MembershipAnswer::No);
  host::SetInternet(false);
  std::optional<int> result = Gate();
  ExpectBoxes({"Administrator rights are required.\r\nLog on as an administrator."}, kStopStyle);
  ExpectStopped(result);
  EXPECT_TRUE(host::InternetRequests().empty());
}

class CloseProgramTest : public RequirementsTest {
 protected:
  void SetUp() override {
    RequirementsTest::SetUp();
    form_.SetText(FormControl::Edit1, "C:\\Program Files\\Demo");
    ::Run().Form = &form_;
    host::SetProcesses(std::vector<platform::ProcessEntry>{{4, "System"}, {77, "demo.exe"}});
    Script(
        "CloseApp=1\r\nCloseAppFile=<InstallDir>\\<AppName>.exe\r\n"
        "CloseAppText=<AppName> Viewer\r\n");
  }

  WatchedFormView form_;
};

TEST_F(CloseProgramTest, CancelStops) {
  host::QueueAnswer(platform::kIdCancel);
  std::optional<int> result = Gate();
  ExpectBoxes({"Please close Demo Viewer and choose Retry."}, kRetryStyle);
  ExpectStopped(result);
}

TEST_F(CloseProgramTest, ClosingTheBoxStops) {
  host::QueueAnswer(platform::kIdAbort);
  ExpectStopped(Gate());
}

TEST_F(CloseProgramTest, RetryWhileRunningAsksAgain) {
  host::QueueAnswer(platform::kIdRetry);
  host::QueueAnswer(platform::kIdRetry);
  host::QueueAnswer(platform::kIdCancel);
  std::optional<int> result = Gate();
  ExpectBoxes(
      {"Please close Demo Viewer and choose Retry.", "Please close Demo Viewer and choose Retry.",
       "Please close Demo Viewer and choose Retry."},
      kRetryStyle);
  ExpectStopped(result);
}

TEST_F(CloseProgramTest, RetryShowsTheCurrentText) {
  form_.onInstallDirRead = [this](int reads) {
    if (reads != 2) return;
    WriteFile(Temp("setup.ini"),
              "[Setup]\r\nAppName=Demo\r\nCloseApp=1\r\nCloseAppFile=demo.exe\r\n"
              "CloseAppText=<AppName> Editor\r\n");
    ::Run().SetupScript->Reload();
  };
  host::QueueAnswer(platform::kIdRetry);
  host::QueueAnswer(platform::kIdCancel);
  std::optional<int> result = Gate();
  ExpectBoxes(
      {"Please close Demo Viewer and choose Retry.", "Please close Demo Editor and choose Retry."},
      kRetryStyle);
  ExpectStopped(result);
}

TEST_F(CloseProgramTest, RetryAfterClosingContinues) {
  form_.onInstallDirRead = [](int reads) {
    if (reads == 2) host::SetProcesses(std::vector<platform::ProcessEntry>{{4, "System"}});
  };
  host::QueueAnswer(platform::kIdRetry);
  std::optional<int> result = Gate();
  EXPECT_EQ(result, std::nullopt);
  ExpectBoxes({"Please close Demo Viewer and choose Retry."}, kRetryStyle);
  EXPECT_TRUE(::Run().SetupScript);
}

TEST_F(CloseProgramTest, RetryReadsTheKeysAgain) {
  form_.onInstallDirRead = [this](int reads) {
    if (reads != 1) return;
    // AppName is expanded after the destination field: keep it.
    WriteFile(Temp("setup.ini"), "[Setup]\r\nAppName=Demo\r\nCloseApp=0\r\n");
    ::Run().SetupScript->Reload();
  };
  host::QueueAnswer(platform::kIdRetry);
  EXPECT_EQ(Gate(), std::nullopt);
  EXPECT_EQ(host::MessageBoxLog().size(), 1u);
}

TEST_F(CloseProgramTest, NothingToCloseWhenTheFileIsEmptyOrNotRunning) {
  Script("CloseApp=1\r\nCloseAppFile=\r\nCloseAppText=Demo\r\n");
  ExpectPassed(Gate());
  Script("CloseApp=1\r\nCloseAppFile=other.exe\r\n");
  ExpectPassed(Gate());
  Script("CloseApp=0\r\nCloseAppFile=demo.exe\r\n");
  ExpectPassed(Gate());
}

TEST_F(CloseProgramTest, Windows9xComparesTheWholePath) {
  host::SetVersion(Version(4, 10, 1));
  host::SetProcesses(std::vector<platform::ProcessEntry>{{9, "C:\\PROGRAM FILES\\DEMO\\DEMO.EXE"}});
  host::QueueAnswer(platform::kIdCancel);
  ExpectStopped(Gate());
  // The bare name that NT would list does not match on 9x.
  Fresh();
  host::SetVersion(Version(4, 10, 1));
  host::SetProcesses(std::vector<platform::ProcessEntry>{{9, "DEMO.EXE"}});
  ExpectPassed(Gate());
}

struct OfferCase {
  const char* description;
  const char* lines;
  const char* registry;  // registry-file lines over the default machine
  const char* message;   // nullptr: passes
};

constexpr char kNet30[] =
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\NET Framework Setup\\NDP\\v2.0.50727]\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\NET Framework Setup\\NDP\\v3.0]\n";
constexpr char kNet35[] =
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\NET Framework Setup\\NDP\\v3.5]\n";
constexpr char kNet40[] =
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\NET Framework Setup\\NDP\\v4]\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\NET Framework Setup\\NDP\\v4.0]\n";
constexpr char kNoIe[] = "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Internet Explorer]\n";
constexpr char kIeNoVersion[] =
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Internet Explorer]\n\"Version\"=-\n";
constexpr char kReader8[] = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Adobe\\Acrobat Reader\\8.0]\n";
constexpr char kReader10[] = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Adobe\\Acrobat Reader\\10.0]\n";
constexpr char kJava16[] =
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\JavaSoft\\Java Runtime Environment\\1.6.0_20]\n";
constexpr char kSql2005Express[] =
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Microsoft SQL Server\\90\\Tools\\ClientSetup\\"
    "CurrentVersion]\n";
constexpr char kSql2008Express[] =
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Microsoft SQL Server\\SQLEXPRESS\\MSSQLServer\\"
    "CurrentVersion]\n\"CurrentVersion\"=\"10.0.1600.22\"\n";

const OfferCase kOfferCases[] = {
    {".NET 3.5 present", "dotNET=1\r\ndotNETVersion=3.5\r\n", kNet35, nullptr},
    {".NET 4.0 meets 3.5", "dotNET=1\r\ndotNETVersion=3.5\r\n", kNet40, nullptr},
    {".NET 3.0 fails 3.5", "dotNET=1\r\ndotNETVersion=3.5\r\n", kNet30,
     ".NET Framework 3.5 is required.\r\nDownload it now?"},
    {".NET 4.0 fails 4.5", "dotNET=1\r\ndotNETVersion=4.5\r\n", kNet40,
     ".NET Framework 4.5 is required.\r\nDownload it now?"},
    {"no .NET, default version", "dotNET=1\r\n", "",
     ".NET Framework 1.0 is required.\r\nDownload it now?"},
    {".NET not asked for", "dotNET=0\r\ndotNETVersion=9.0\r\n", "", nullptr},
    {"IE 8 meets 7", "IE=1\r\nIEVersion=7.0\r\n", "", nullptr},
    {"IE 8 fails 9", "IE=1\r\nIEVersion=9.0\r\n", "", "Internet Explorer 9.0 is required."},
    {"IE missing passes", "IE=1\r\nIEVersion=9.0\r\n", kNoIe, nullptr},
    {"IE without Version passes", "IE=1\r\nIEVersion=9.0\r\n", kIeNoVersion, nullptr},
    {"IE 10 never converts", "IE=1\r\nIEVersion=10.0\r\n", "",
     "Internet Explorer 10.0 is required."},
    {"no Reader, default version", "AR=1\r\n", "", nullptr},
    {"Reader 8 fails 9", "AR=1\r\nARVersion=9.0\r\n", kReader8, "Acrobat Reader 9.0 is required."},
    {"Reader 10 only", "AR=1\r\n", kReader10, "Acrobat Reader 5.0 is required."},
    {"no Java, default version", "Java=1\r\n", "", "Java 1.2 is required."},
    {"Java 1.6 meets 1.5", "Java=1\r\nJavaVersion=1.5\r\n", kJava16, nullptr},
    {"short Java version", "Java=1\r\nJavaVersion=8\r\n", "", nullptr},
    {"SQL default version", "SQL=1\r\n", "", nullptr},
    {"SQL 2005 fails 2008", "SQL=1\r\nSQLVersion=2008\r\n", kSql2005Express,
     "SQL Server 2008 is required."},
    {"SQL 2008 meets 2008 R2", "SQL=1\r\nSQLVersion=2008 R2\r\n", kSql2008Express, nullptr},
    {"first unmet product only",
     "dotNET=1\r\ndotNETVersion=3.5\r\nIE=1\r\nIEVersion=9.0\r\nJava=1\r\n", kNet30,
     ".NET Framework 3.5 is required.\r\nDownload it now?"},
};

TEST_F(RequirementsTest, VersionRequirementsOfferTheProduct) {
  for (const OfferCase& c : kOfferCases) {
    SCOPED_TRACE(c.description);
    Fresh();
    Import(c.registry);
    Script(c.lines);
    if (c.message) host::QueueAnswer(platform::kIdNo);
    std::optional<int> result = Gate();
    if (c.message) {
      ExpectBoxes({c.message}, kOfferStyle);
      ExpectStopped(result);
      EXPECT_TRUE(Started().empty());
    } else {
      ExpectPassed(result);
    }
  }
}

struct LinkCase {
  const char* lines;
  const char* started;
};

TEST_F(RequirementsTest, YesOpensTheExpandedLinkAndStops) {
  const LinkCase cases[] = {
      {"dotNET=1\r\nLinkDN=<WebSite>/dotnet\r\n", "open http://example.org/dotnet"},
      {"IE=1\r\nIEVersion=9.0\r\nLinkIE=<WebSite>/ie\r\nLinkDN=wrong\r\n",
       "open http://example.org/ie"},
      {"AR=1\r\nARVersion=9.0\r\nLinkAR=http://get.example/reader\r\n",
       "open http://get.example/reader"},
      {"Java=1\r\nLinkJR=<WebSite>/java\r\n", "open http://example.org/java"},
      {"SQL=1\r\nSQLVersion=2008\r\nLinkSQL=<WebSite>/sql\r\n", "open http://example.org/sql"},
      // An empty link still goes to the shell.
      {"Java=1\r\n", "open "},
  };
  for (const LinkCase& c : cases) {
    SCOPED_TRACE(c.lines);
    Fresh();
    Script(c.lines);
    host::QueueAnswer(platform::kIdYes);
    std::optional<int> result = Gate();
    ASSERT_EQ(host::MessageBoxLog().size(), 1u);
    EXPECT_EQ(host::MessageBoxLog()[0].style, kOfferStyle);
    EXPECT_EQ(Started(), std::vector<std::string>{c.started});
    ExpectStopped(result);
  }
}

}  // namespace
