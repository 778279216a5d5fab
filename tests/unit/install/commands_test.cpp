// [Commands] in both phases: what runs when, how it is started, what the uninstaller gets.
#include "install/commands.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/run_state.h"
#include "install/uninstall_record.h"
#include "platform/file_system.h"
#include "platform/host/host_control.h"
#include "text/text_fixture.h"

namespace {

class CommandsTest : public TextTest {
 protected:
  void SetUp() override {
    TextTest::SetUp();
    UseScript("[Setup]\r\nAppName=App\r\n");
    view_.SetText(FormControl::Edit1, "C:\\App");
    WriteFile("C:\\App\\tool.exe", "x");
    started_ = host::StartedLog().size();
    ::Run().UninstallRecord = std::make_unique<TUninstallRecord>("C:\\App\\Uninstall.ini");
  }
  void TearDown() override {
    ::Run().UninstallRecord.reset();
    TextTest::TearDown();
  }
  std::vector<std::string> Started() const {
    const std::vector<std::string>& log = host::StartedLog();
    return std::vector<std::string>(log.begin() + static_cast<long>(started_), log.end());
  }
  size_t started_ = 0;
};

TEST_F(CommandsTest, EachPhaseRunsOnlyItsMoment) {
  const char* entries[] = {
      "<InstallDir>\\tool.exe*?-b*?Normal*?Before Installation*?Yes",
      "<InstallDir>\\tool.exe*?-a*?Hide*?After Installation*?Yes",
      "<InstallDir>\\tool.exe*?-u*?Minimize*?Before Uninstallation*?Yes",
      "<InstallDir>\\tool.exe*?-v*?Maximize*?After Uninstallation*?No",
      "<InstallDir>\\tool.exe*?-x*?Normal*?after installation*?Yes",
      "<InstallDir>\\tool.exe*?-y*?Normal*?Before Installation",
  };
  for (const char* entry : entries) RunCommand(CommandPhase::BeforeInstallation, entry);
  EXPECT_EQ(Started(),
            std::vector<std::string>{"run \"C:\\App\\tool.exe\" -b in C:\\App\\ show 1"});
  EXPECT_FALSE(platform::FileExists("C:\\App\\Uninstall.ini"));
  started_ = host::StartedLog().size();
  for (const char* entry : entries) RunCommand(CommandPhase::AfterInstallation, entry);
  EXPECT_EQ(Started(),
            std::vector<std::string>{"run \"C:\\App\\tool.exe\" -a in C:\\App\\ show 0"});
  EXPECT_EQ(ReadFile("C:\\App\\Uninstall.ini"),
            "[ExecBeforeUninstall]\r\n0=C:\\App\\tool.exe*?-u*?Minimize*?Yes\r\n"
            "[ExecAfterUninstall]\r\n0=C:\\App\\tool.exe*?-v*?Maximize*?No\r\n");
  // A repeated installation records nothing twice.
  std::string once = ReadFile("C:\\App\\Uninstall.ini");
  for (const char* entry : entries) RunCommand(CommandPhase::AfterInstallation, entry);
  EXPECT_EQ(ReadFile("C:\\App\\Uninstall.ini"), once);
}

TEST_F(CommandsTest, WithoutWaitingTheShellOpensFilesInTheirFolderAndOtherTextsWhole) {
  RunCommand(CommandPhase::AfterInstallation,
             "C:\\App\\tool.exe*?--go*?Normal*?After Installation*?No");
  RunCommand(CommandPhase::AfterInstallation,
             "https://example.com/x*?--dropped*?Maximize*?After Installation*?no");
  EXPECT_EQ(Started(),
            (std::vector<std::string>{"open tool.exe parameters --go folder C:\\App\\ show 1",
                                      "open https://example.com/x parameters  folder  show 3"}));
}

TEST_F(CommandsTest, RunAndWaitQuotesTheProgramAndCutsTo255Characters) {
  EXPECT_TRUE(RunAndWait("C:\\App\\tool.exe", "", 1));
  std::string longParameters(300, 'p');
  RunAndWait("C:\\App\\tool.exe", longParameters, 1);
  std::string longProgram = "C:\\" + std::string(300, 'x');
  EXPECT_FALSE(RunAndWait(longProgram, "-q", 1));  // no such file: not started
  std::vector<std::string> log = Started();
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[0], "run \"C:\\App\\tool.exe\"  in C:\\App\\ show 1");
  std::string line = log[1].substr(4, log[1].find(" in ") - 4);
  EXPECT_EQ(line.size(), 255u);
  EXPECT_EQ(line, ("\"C:\\App\\tool.exe\" " + longParameters).substr(0, 255));
  std::string cut = log[2].substr(4, log[2].find(" in C:\\") - 4);
  EXPECT_EQ(cut, ("\"" + longProgram.substr(0, 255) + "\" -q").substr(0, 255));
}

TEST_F(CommandsTest, ShowWords) {
  EXPECT_EQ(ShowValueOf("Maximize"), 3);
  EXPECT_EQ(ShowValueOf("Minimize"), 2);
  EXPECT_EQ(ShowValueOf("Hide"), 0);
  EXPECT_EQ(ShowValueOf("Normal"), 1);
  EXPECT_EQ(ShowValueOf("hide"), 1);
}

}  // namespace
