#include "platform/system_facts.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/folders_known.h"
#include "platform/host/host_control.h"
#include "support/sandbox.h"

namespace {

using platform::MembershipAnswer;
using platform::Wow64Answer;

class HostSystemFactsTest : public SandboxTest {
 protected:
  void SetUp() override {
    SandboxTest::SetUp();
    host::ResetSystemFacts();
    host::ResetRegistry();
  }
  void TearDown() override {
    host::ResetSystemFacts();
    SandboxTest::TearDown();
  }
  bool LoadIni(const std::string& text, std::string* error = nullptr) {
    std::filesystem::create_directories(root_ + "/host");
    std::ofstream(root_ + "/host/system.ini", std::ios::binary) << text;
    std::string ignored;
    return host::LoadHostConfiguration(error ? error : &ignored);
  }
};

TEST_F(HostSystemFactsTest, DefaultsAreAnAdministratorOnWindows7UnderWow64) {
  auto version = platform::QueryVersion();
  ASSERT_TRUE(version);
  EXPECT_EQ(version->major, 6u);
  EXPECT_EQ(version->minor, 1u);
  EXPECT_EQ(version->build, 7601u);
  EXPECT_EQ(version->platformId, 2u);
  EXPECT_EQ(platform::QueryWow64(), Wow64Answer::Yes);
  EXPECT_EQ(platform::SystemDefaultLanguageId(), 1033);
  EXPECT_EQ(platform::CheckTokenMembership(544), MembershipAnswer::Yes);
  EXPECT_EQ(platform::CheckTokenMembership(547), MembershipAnswer::No);
  auto groups = platform::QueryTokenGroups();
  ASSERT_TRUE(groups);
  bool enabledAdministrators = false;
  for (const auto& group : *groups)
    if (group.sid == "S-1-5-32-544" && (group.attributes & 0x14) == 4) enabledAdministrators = true;
  EXPECT_TRUE(enabledAdministrators);
  auto processes = platform::QueryProcesses();
  ASSERT_TRUE(processes);
  EXPECT_TRUE(processes->empty());
  EXPECT_FALSE(platform::InternetOpenUrl("Setup", "http://www.example.com/"));
  EXPECT_EQ(host::InternetRequests(), std::vector<std::string>{"Setup http://www.example.com/"});
  EXPECT_EQ(platform::WindowsFolder(), "C:\\Windows");
  EXPECT_EQ(platform::SystemFolder(), "C:\\Windows\\system32");
}

TEST_F(HostSystemFactsTest, SystemIniSetsEveryFact) {
  std::string error;
  ASSERT_TRUE(
      LoadIni("; a Windows XP machine\n"
              "[system]\n"
              "Version = 5.1.2600\n"
              "PlatformId=2\n"
              "Wow64=Unavailable\n"
              "LanguageId=0x407\n"
              "Internet=Yes\n"
              "Date=31.12.2010\n"
              "WindowsFolder=D:\\WINNT\n"
              "SystemFolder=D:\\WINNT\\system32\n"
              "[Membership]\n"
              "544=No\n"
              "547=Failed\n"
              "[TokenGroups]\n"
              "S-1-1-0=7\n"
              "S-1-5-32-547=0x10\n"
              "[Processes]\n"
              "4=System\n"
              "4242=C:\\Apps\\App.exe\n"
              "[SpecialFolders]\n"
              "26=D:\\Profiles\\me\\Application Data\n"
              "5=\n",
              &error))
      << error;
  auto version = platform::QueryVersion();
  ASSERT_TRUE(version);
  EXPECT_EQ(version->major, 5u);
  EXPECT_EQ(version->minor, 1u);
  EXPECT_EQ(version->build, 2600u);
  EXPECT_EQ(platform::QueryWow64(), Wow64Answer::Unavailable);
  EXPECT_EQ(platform::SystemDefaultLanguageId(), 0x407);
  EXPECT_TRUE(platform::InternetOpenUrl("Setup", "http://x/"));
  EXPECT_EQ(platform::ShortDateToday(), "31.12.2010");
  EXPECT_EQ(platform::WindowsFolder(), "D:\\WINNT");
  EXPECT_EQ(platform::SystemFolder(), "D:\\WINNT\\system32");
  EXPECT_EQ(platform::CheckTokenMembership(544), MembershipAnswer::No);
  EXPECT_EQ(platform::CheckTokenMembership(547), MembershipAnswer::Failed);
  auto groups = platform::QueryTokenGroups();
  ASSERT_TRUE(groups);
  ASSERT_EQ(groups->size(), 2u);
  EXPECT_EQ((*groups)[1].sid, "S-1-5-32-547");
  EXPECT_EQ((*groups)[1].attributes, 0x10u);
  auto processes = platform::QueryProcesses();
  ASSERT_TRUE(processes);
  ASSERT_EQ(processes->size(), 2u);
  EXPECT_EQ((*processes)[1].id, 4242u);
  EXPECT_EQ((*processes)[1].exeFile, "C:\\Apps\\App.exe");
  EXPECT_EQ(platform::SpecialFolderPath(26), "D:\\Profiles\\me\\Application Data");
  EXPECT_EQ(platform::SpecialFolderPath(5), "");
  EXPECT_EQ(platform::SpecialFolderPath(2),
            "C:\\Users\\setup\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs");
}

// Partial files change only what they name.
TEST_F(HostSystemFactsTest, SystemIniOverridesOnlyWhatItNames) {
  ASSERT_TRUE(LoadIni("[System]\nVersion=4.10\n"));
  auto version = platform::QueryVersion();
  ASSERT_TRUE(version);
  EXPECT_EQ(version->major, 4u);
  EXPECT_EQ(version->minor, 10u);
  EXPECT_EQ(version->build, 0u);
  EXPECT_EQ(version->platformId, 2u);

  host::ResetSystemFacts();
  ASSERT_TRUE(LoadIni("[System]\nPlatformId=1\n[Membership]\n547=Yes\n"));
  version = platform::QueryVersion();
  ASSERT_TRUE(version);
  EXPECT_EQ(version->major, 6u);
  EXPECT_EQ(version->platformId, 1u);
  EXPECT_EQ(platform::CheckTokenMembership(544), MembershipAnswer::Yes);
  EXPECT_EQ(platform::CheckTokenMembership(547), MembershipAnswer::Yes);

  host::ResetSystemFacts();
  ASSERT_TRUE(LoadIni("[System]\nVersion=none\nProcessSnapshot=No\nTokenReadable=No\n"));
  EXPECT_FALSE(platform::QueryVersion());
  EXPECT_FALSE(platform::QueryProcesses());
  EXPECT_FALSE(platform::QueryTokenGroups());

  host::ResetSystemFacts();
  ASSERT_TRUE(LoadIni("[TokenGroups]\n"));
  auto groups = platform::QueryTokenGroups();
  ASSERT_TRUE(groups);
  EXPECT_TRUE(groups->empty());
}

TEST_F(HostSystemFactsTest, MalformedSystemIniIsReportedAndChangesNothing) {
  const struct {
    const char* text;
    const char* error;
  } cases[] = {
      {"[System]\nWow64=Maybe\n", "line 2: cannot use Wow64=Maybe"},
      {"[System]\nVersion=6\n", "line 2:"},
      {"[System]\nVersion=6.1.7601.1\n", "line 2:"},
      {"[System]\nVersion=6.x\n", "line 2:"},
      {"[System]\nLanguageId=70000\n", "line 2:"},
      {"[System]\nInternet=1\n", "line 2:"},
      {"[System]\nWow64=Yes\nSandbox=1\n", "line 3: cannot use Sandbox=1"},
      {"[Systems]\n", "line 1: unknown section [Systems]"},
      {"[System\n", "line 1: a section line ends with ]"},
      {"[Membership]\nAdministrators=Yes\n", "line 2:"},
      {"[TokenGroups]\nAdministrators=7\n", "line 2:"},
      {"[Processes]\n12=\n", "line 2:"},
      {"[SpecialFolders]\nAppData=C:\\x\n", "line 2:"},
      {"[System]\nno equals sign\n", "line 2: expected [Section] or Key=Value"},
  };
  for (const auto& c : cases) {
    host::ResetSystemFacts();
    std::string error;
    EXPECT_FALSE(LoadIni(std::string("[System]\nLanguageId=1031\n") + c.text, &error)) << c.text;
    // The two lines in front shift the numbers by two.
    std::string expected = c.error;
    size_t number = std::stoul(expected.substr(5));
    expected.replace(5, std::to_string(number).size(), std::to_string(number + 2));
    EXPECT_NE(error.find("system.ini: " + expected), std::string::npos)
        << c.text << " gave " << error;
    EXPECT_EQ(platform::SystemDefaultLanguageId(), 1033) << c.text;
  }
  std::string error;
  EXPECT_FALSE(LoadIni("Wow64=No\n", &error));
  EXPECT_NE(error.find("system.ini: line 1: a value before any section"), std::string::npos);
  EXPECT_EQ(platform::QueryWow64(), Wow64Answer::Yes);
}

TEST_F(HostSystemFactsTest, SettersChangeTheAnswers) {
  host::SetVersion(std::nullopt);
  EXPECT_FALSE(platform::QueryVersion());
  host::SetWow64(Wow64Answer::Failed);
  EXPECT_EQ(platform::QueryWow64(), Wow64Answer::Failed);
  host::SetMembership(544, MembershipAnswer::Unavailable);
  host::SetMembership(544, MembershipAnswer::No);
  EXPECT_EQ(platform::CheckTokenMembership(544), MembershipAnswer::No);
  host::SetProcesses(std::vector<platform::ProcessEntry>{{7, "a.exe"}});
  EXPECT_EQ(platform::QueryProcesses()->at(0).exeFile, "a.exe");
  host::SetSpecialFolder(20, "E:\\Fonts");
  host::SetSpecialFolder(20, "F:\\Fonts");
  EXPECT_EQ(platform::SpecialFolderPath(20), "F:\\Fonts");
  EXPECT_EQ(platform::SpecialFolderPath(1000), "");
  host::ResetSystemFacts();
  EXPECT_EQ(platform::SpecialFolderPath(20), "C:\\Windows\\Fonts");
  EXPECT_TRUE(platform::QueryVersion());
  EXPECT_TRUE(host::InternetRequests().empty());
}

TEST(HostUpperCase, FollowsTheWestern1252CodePage) {
  const struct {
    const char* text;
    const char* upper;
  } cases[] = {
      {"app.exe", "APP.EXE"},
      {"C:\\Dir\\x1_y", "C:\\DIR\\X1_Y"},
      {"\xe9t\xe9 \xe0 \xfe", "\xc9T\xc9 \xc0 \xde"},
      {"\xf7 \xdf \xb5", "\xf7 \xdf \xb5"},  // division sign, sharp s and micro stay
      {"\x9a\x9c\x9e\xff", "\x8a\x8c\x8e\x9f"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(platform::UpperCaseByLocale(c.text), c.upper) << c.text;
  EXPECT_EQ(platform::UpperCaseByLocale(std::string("a\0b", 3)), std::string("A\0B", 3));
}

TEST(HostShortDate, TodayInTheUsShortFormat) {
  host::ResetSystemFacts();
  std::string date = platform::ShortDateToday();
  size_t first = date.find('/'), second = date.rfind('/');
  ASSERT_NE(first, std::string::npos);
  ASSERT_NE(first, second);
  int month = std::stoi(date.substr(0, first));
  int day = std::stoi(date.substr(first + 1, second - first - 1));
  std::string year = date.substr(second + 1);
  EXPECT_TRUE(month >= 1 && month <= 12) << date;
  EXPECT_TRUE(day >= 1 && day <= 31) << date;
  EXPECT_NE(date[0], '0') << date;
  EXPECT_NE(date[first + 1], '0') << date;
  EXPECT_EQ(year.size(), 4u) << date;
}

}  // namespace
