// The uninstall record's numbered sections: no value twice, numbers that go on where the file
// left off, and nothing overwritten whatever the file already holds.
#include "install/uninstall_record.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/folders.h"
#include "support/sandbox.h"

namespace {

class UninstallRecordTest : public SandboxTest {
 protected:
  void SetUp() override {
    SandboxTest::SetUp();
    ASSERT_TRUE(platform::ForceFolders("C:\\App"));
  }
  const std::string path_ = "C:\\App\\Uninstall.ini";
  std::unique_ptr<TUninstallRecord> Open() { return std::make_unique<TUninstallRecord>(path_); }
};

TEST_F(UninstallRecordTest, NumbersFromZeroAndSkipsEqualValues) {
  auto record = Open();
  EXPECT_TRUE(record->Add("Files", "C:\\App\\a.exe"));
  EXPECT_TRUE(record->Add("Files", "C:\\App\\b.dll"));
  EXPECT_TRUE(record->Add("Files", "C:\\App\\a.exe"));
  EXPECT_TRUE(record->Add("Files", "C:\\APP\\A.EXE"));  // case matters
  EXPECT_TRUE(record->Add("Folders", "C:\\App"));
  EXPECT_EQ(ReadFile(path_),
            "[Files]\r\n0=C:\\App\\a.exe\r\n1=C:\\App\\b.dll\r\n2=C:\\APP\\A.EXE\r\n"
            "[Folders]\r\n0=C:\\App\r\n");
}

TEST_F(UninstallRecordTest, ARecordOpenedAgainGoesOnAndAddsNothingTwice) {
  WriteFile(path_, "[Files]\r\n0=C:\\App\\a.exe\r\n1=C:\\App\\b.dll\r\n");
  auto record = Open();
  EXPECT_TRUE(record->AddAll("Files", {"C:\\App\\b.dll", "C:\\App\\c.txt", "C:\\App\\a.exe",
                                       "C:\\App\\d.txt", "C:\\App\\c.txt"}));
  EXPECT_EQ(ReadFile(path_),
            "[Files]\r\n0=C:\\App\\a.exe\r\n1=C:\\App\\b.dll\r\n2=C:\\App\\c.txt\r\n"
            "3=C:\\App\\d.txt\r\n");
}

TEST_F(UninstallRecordTest, AnEditedFileWithGapsLosesNoRecord) {
  // Two keys, so the next number would be 2, which is taken.
  WriteFile(path_, "[Files]\r\n0=C:\\a\r\n2=C:\\c\r\n");
  auto record = Open();
  record->Add("Files", "C:\\new");
  record->Add("Files", "C:\\newer");
  EXPECT_EQ(ReadFile(path_), "[Files]\r\n0=C:\\a\r\n2=C:\\c\r\n3=C:\\new\r\n4=C:\\newer\r\n");
}

TEST_F(UninstallRecordTest, SectionsBeyondTheListingLimitAreSeenWhole) {
  // More keys than a 16 KB listing holds: a cut listing would start numbering inside the
  // section and overwrite records.
  std::string text = "[Files]\r\n";
  for (int i = 0; i < 4000; ++i)
    text += std::to_string(i) + "=C:\\App\\file" + std::to_string(i) + "\r\n";
  WriteFile(path_, text);
  auto record = Open();
  record->AddAll("Files", {"C:\\App\\file3999", "C:\\App\\extra"});
  EXPECT_EQ(ReadFile(path_), text + "4000=C:\\App\\extra\r\n");
}

TEST_F(UninstallRecordTest, EveryRecordIsOnDiskWhenAddReturns) {
  auto record = Open();
  record->Add("RegistryKeys", "HKEY_CURRENT_USER*?Software\\Test");
  // A second reader sees it at once: nothing waits for the record to be closed.
  TUninstallRecord reader(path_);
  EXPECT_EQ(reader.File().ReadString("RegistryKeys", "0", ""), "HKEY_CURRENT_USER*?Software\\Test");
}

TEST_F(UninstallRecordTest, AFailedWriteIsNotTakenForARecord) {
  auto record = TUninstallRecord("C:\\Missing\\Uninstall.ini");
  EXPECT_FALSE(record.Add("Files", "C:\\a"));
  ASSERT_TRUE(platform::ForceFolders("C:\\Missing"));
  EXPECT_TRUE(record.Add("Files", "C:\\a"));
  EXPECT_EQ(ReadFile("C:\\Missing\\Uninstall.ini"), "[Files]\r\n0=C:\\a\r\n");
}

}  // namespace
