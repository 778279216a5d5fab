// Shortcuts: the boxes that leave entries out, the fields of the link, the folders and records.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/run_state.h"
#include "install/shortcuts.h"
#include "install/uninstall_record.h"
#include "platform/file_system.h"
#include "platform/folders.h"
#include "platform/host/host_control.h"
#include "text/path_parts.h"
#include "text/text_fixture.h"
#include "text/variables.h"

namespace {

class ShortcutsTest : public TextTest {
 protected:
  void SetUp() override {
    TextTest::SetUp();
    UseScript("[Setup]\r\nAppName=App\r\n");
    UseLanguageTable(
        "[Messages]\r\n13=Setup could not create the folder:<#>%s\r\n"
        "16=Setup could not create the shortcut:<#>%s\r\n");
    view_.SetText(FormControl::Edit1, "C:\\App");
    view_.AddItem(FormControl::ComboBox1, "Group");
    view_.SetItemIndex(FormControl::ComboBox1, 0);
    ASSERT_TRUE(platform::ForceFolders("C:\\App"));
    // The Start menu exists on every machine; only the group is new.
    ASSERT_TRUE(platform::ForceFolders(FolderOfPath(kGroup)));
    WriteFile("C:\\App\\app.exe", "x");
    ::Run().UninstallRecord = std::make_unique<TUninstallRecord>("C:\\App\\Uninstall.ini");
    ::Run().InstallErrors = false;
    slept_ = host::SleptMilliseconds();
  }
  void TearDown() override {
    ::Run().UninstallRecord.reset();
    ::Run().InstallErrors = false;
    TextTest::TearDown();
  }
  std::string Record() const { return ReadFile("C:\\App\\Uninstall.ini"); }
  static constexpr const char* kGroup =
      "C:\\Users\\setup\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Group";
  uint64_t slept_ = 0;
};

TEST_F(ShortcutsTest, SetsEveryFieldAndRecordsTheGroupFolderOnce) {
  CreateShortcut("<ProgramGroup>\\App.lnk*?<InstallDir>\\app.exe*?Runs <AppName>*?--go*?*?"
                 "<InstallDir>\\app.exe*?2*?Maximize");
  CreateShortcut("<ProgramGroup>\\Other.lnk*?C:\\missing.exe*?Other*?*?*?C:\\icons.dll*?x*?minimize");
  EXPECT_EQ(ReadFile(std::string(kGroup) + "\\App.lnk"),
            "[ShellLink]\r\nTarget=C:\\App\\app.exe\r\nArguments=--go\r\nDescription=Runs App\r\n"
            "WorkingFolder=C:\\App\r\nIcon=C:\\App\\app.exe,2\r\nShowCommand=3\r\n");
  // No working folder for a missing target; a non-numeric index is 0; lower case is normal.
  EXPECT_EQ(ReadFile(std::string(kGroup) + "\\Other.lnk"),
            "[ShellLink]\r\nTarget=C:\\missing.exe\r\nArguments=\r\nDescription=Other\r\n"
            "Icon=C:\\icons.dll,0\r\nShowCommand=1\r\n");
  EXPECT_EQ(Record(), "[Folders]\r\n0=" + std::string(kGroup) + "\r\n[Files]\r\n0=" + kGroup +
                          "\\App.lnk\r\n1=" + kGroup + "\\Other.lnk\r\n");
  EXPECT_EQ(host::SleptMilliseconds() - slept_, 400u);
  // A repeated installation records nothing twice.
  std::string once = Record();
  CreateShortcut("<ProgramGroup>\\App.lnk*?<InstallDir>\\app.exe*?d*?*?*?*?0*?Normal");
  EXPECT_EQ(Record(), once);
}

TEST_F(ShortcutsTest, TheBoxesLeaveEntriesOutByTheirRawText) {
  struct Case {
    bool noGroup, desktopShown, desktopTicked;
    const char* entry;
    bool created;
  } cases[] = {
      {true, false, false, "C:\\App\\a.lnk*?C:\\App\\app.exe*?<ProgramGroup>*?*?*?*?0*?Normal", false},
      {false, false, false, "C:\\App\\b.lnk*?C:\\App\\app.exe*?<ProgramGroup>*?*?*?*?0*?Normal", true},
      {false, true, false, "<Desktop>\\c.lnk*?C:\\App\\app.exe*?d*?*?*?*?0*?Normal", false},
      {false, true, true, "<Desktop>\\d.lnk*?C:\\App\\app.exe*?d*?*?*?*?0*?Normal", true},
      {false, false, false, "<Desktop>\\e.lnk*?C:\\App\\app.exe*?d*?*?*?*?0*?Normal", true},
      {false, true, false, "C:\\App\\f.lnk*?C:\\App\\app.exe*?<desktop>*?*?*?*?0*?Normal", true},
      {false, false, false, "C:\\App\\g.lnk*?C:\\App\\app.exe*?d*?*?*?*?0", false},
      {false, false, false, "C:\\App\\h.lnk*?C:\\App\\app.exe*?d*?*?*?*?0*?Normal*?", true},
  };
  for (const Case& c : cases) {
    view_.SetChecked(FormControl::CheckBox2, c.noGroup);
    view_.SetVisible(FormControl::CheckBox3, c.desktopShown);
    view_.SetChecked(FormControl::CheckBox3, c.desktopTicked);
    CreateShortcut(c.entry);
    std::string link = ExpandVariables(std::string(c.entry).substr(0, std::string(c.entry).find("*?")));
    EXPECT_EQ(platform::FileExists(link), c.created) << c.entry;
  }
}

TEST_F(ShortcutsTest, FailuresReportAndRecordNothing) {
  WriteFile("C:\\Blocked", "a file where a folder must be");
  CreateShortcut("C:\\Blocked\\x.lnk*?C:\\App\\app.exe*?d*?*?*?*?0*?Normal");
  ASSERT_EQ(host::MessageBoxLog().size(), 1u);
  EXPECT_EQ(host::MessageBoxLog()[0].text, "Setup could not create the folder:\r\nC:\\Blocked");
  EXPECT_TRUE(::Run().InstallErrors);
  ::Run().InstallErrors = false;
  ASSERT_TRUE(platform::ForceFolders("C:\\App\\link.lnk"));  // a folder where the file must go
  CreateShortcut("C:\\App\\link.lnk*?C:\\App\\app.exe*?d*?*?*?*?0*?Normal");
  ASSERT_EQ(host::MessageBoxLog().size(), 2u);
  EXPECT_EQ(host::MessageBoxLog()[1].text, "Setup could not create the shortcut:\r\nC:\\App\\link.lnk");
  EXPECT_EQ(host::MessageBoxLog()[1].caption, "Setup");
  EXPECT_TRUE(::Run().InstallErrors);
  EXPECT_FALSE(platform::FileExists("C:\\App\\Uninstall.ini"));
  EXPECT_EQ(host::SleptMilliseconds(), slept_);
}

}  // namespace
