// The uninstall record while others write into the same file: a command the setup waits for,
// or an [INI] entry aimed at Uninstall.ini.
#include <gtest/gtest.h>

#include <string>

#include "app/ini_file.h"
#include "install/uninstall_record.h"
#include "platform/folders.h"
#include "support/sandbox.h"

namespace {

class UninstallRecordRefreshTest : public SandboxTest {
 protected:
  void SetUp() override {
    SandboxTest::SetUp();
    ASSERT_TRUE(platform::ForceFolders("C:\\App"));
  }
  const std::string path_ = "C:\\App\\Uninstall.ini";
};

TEST_F(UninstallRecordRefreshTest, RecordsGoOnAfterWhatOthersAddedAndOverwriteNothing) {
  WriteFile(path_, "[Files]\r\n0=C:\\App\\a.exe\r\n");
  TUninstallRecord record(path_);
  ASSERT_TRUE(record.Add("Files", "C:\\App\\b.dll"));
  // Another writer adds a record of its own and a section the uninstaller reads.
  WriteFile(path_, ReadFile(path_) + "2=C:\\App\\by-command.log\r\n[Custom]\r\nKey=kept\r\n");
  ASSERT_TRUE(record.Add("Files", "C:\\App\\c.txt"));
  ASSERT_TRUE(record.Add("Files", "C:\\App\\by-command.log")) << "already recorded: no write";
  ASSERT_TRUE(record.AddAll("Folders", {"C:\\App"}));
  EXPECT_EQ(ReadFile(path_),
            "[Files]\r\n0=C:\\App\\a.exe\r\n1=C:\\App\\b.dll\r\n2=C:\\App\\by-command.log\r\n"
            "3=C:\\App\\c.txt\r\n[Custom]\r\nKey=kept\r\n[Folders]\r\n0=C:\\App\r\n");

  // The same through a second INI object on the file, as an [INI] entry writes on this host.
  IniFile other(path_);
  ASSERT_TRUE(other.WriteString("Folders", "1", "C:\\App\\sub"));
  ASSERT_TRUE(record.Add("Folders", "C:\\App\\data"));
  IniFile reread(path_);
  EXPECT_EQ(reread.ReadString("Folders", "1", ""), "C:\\App\\sub");
  EXPECT_EQ(reread.ReadString("Folders", "2", ""), "C:\\App\\data");
}

}  // namespace
