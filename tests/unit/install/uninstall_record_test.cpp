// The uninstall record's numbered sections: no value twice, numbers that go on where the file
// left off, and nothing overwritten whatever the file already holds.
#include "install/uninstall_record.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/ini_append.h"
#include "app/run_state.h"
#include "platform/file_system.h"
#include "platform/folders.h"
#include "platform/host/host_control.h"
#include "platform/host/host_state.h"
#include "platform/message_box.h"
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

// A record that cannot be written is an installation error: InstallErrors, and one box per run
// naming the record, whatever the number of failed writes.
class RecordFailureTest : public UninstallRecordTest {
 protected:
  void SetUp() override {
    UninstallRecordTest::SetUp();
    ::Run().InstallErrors = false;
    ::Run().RecordFailureReported = false;
  }
  void TearDown() override {
    ::Run().InstallErrors = false;
    ::Run().RecordFailureReported = false;
    host::Facts().folderSpace.clear();
    UninstallRecordTest::TearDown();
  }
  static constexpr const char* kShown = "C:\\Program Files\\App\\Uninstall.ini";
  static std::string BoxText() {
    return "Setup could not write the uninstall information:\r\n" + std::string(kShown);
  }
};

TEST_F(RecordFailureTest, FailedWritesShowOneBoxAndSetInstallErrors) {
  WriteFile(path_, "[Files]\r\n0=C:\\Earlier\r\n");
  ASSERT_TRUE(platform::FileAttributesSet(path_, platform::kAttrReadOnly));
  TUninstallRecord record(path_, kShown, true);
  EXPECT_FALSE(record.WriteTexts({{"General", "AppName", "App"}}));
  EXPECT_FALSE(record.Add("Files", "C:\\App\\a.exe"));
  EXPECT_FALSE(record.AddAll("Folders", {"C:\\App", "C:\\App\\docs"}));
  EXPECT_TRUE(::Run().InstallErrors);
  ASSERT_EQ(host::MessageBoxLog().size(), 1u);
  EXPECT_EQ(host::MessageBoxLog()[0].text, BoxText());
  EXPECT_EQ(host::MessageBoxLog()[0].caption, "Setup");
  EXPECT_EQ(host::MessageBoxLog()[0].style, platform::kMbOk | platform::kMbIconError);
  EXPECT_EQ(ReadFile(path_), "[Files]\r\n0=C:\\Earlier\r\n");

  // Step 21 failing later in the same run: the error counts, the box is not shown again.
  ::Run().InstallErrors = false;
  ReportRecordFailure(kShown);
  EXPECT_TRUE(::Run().InstallErrors);
  EXPECT_EQ(host::MessageBoxLog().size(), 1u);
}

TEST_F(RecordFailureTest, ARecordTheRunThrowsAwayReportsNothing) {
  TUninstallRecord record("C:\\Missing\\uninstall.ini", kShown, false);
  EXPECT_FALSE(record.Add("Files", "C:\\a"));
  EXPECT_FALSE(::Run().InstallErrors);
  EXPECT_TRUE(host::MessageBoxLog().empty());
}

// A disk that fills up: a list that does not fit whole goes in as far as it fits, in order, and
// the records after a failure are still tried.
TEST_F(RecordFailureTest, AFullDiskTakesTheRecordsThatFit) {
  WriteFile(path_, "[Files]\r\n0=C:\\Earlier\r\n");
  const std::string before = ReadFile(path_);
  // Room for about three more lines of "n=C:\App\file-n.txt" and no rewrite of the whole file,
  // besides the note an append keeps beside the file while it runs.
  const size_t note = FormatAppendJournal({before.size() + 63, 0, 21}).size();
  host::Facts().folderSpace.emplace_back("C:\\App", static_cast<int64_t>(before.size() + 72 + note));
  TUninstallRecord record(path_, kShown, true);
  std::vector<std::string> files;
  for (int i = 1; i <= 8; ++i) files.push_back("C:\\App\\file-" + std::to_string(i) + ".txt");
  EXPECT_FALSE(record.AddAll("Files", files));
  EXPECT_TRUE(::Run().InstallErrors);
  EXPECT_EQ(host::MessageBoxLog().size(), 1u);
  std::string text = ReadFile(path_);
  EXPECT_EQ(text, before + "1=C:\\App\\file-1.txt\r\n2=C:\\App\\file-2.txt\r\n"
                           "3=C:\\App\\file-3.txt\r\n");
  // A short record still fits into what is left; numbers go on without a gap.
  EXPECT_TRUE(record.Add("Files", "C:\\x"));
  EXPECT_EQ(ReadFile(path_), text + "4=C:\\x\r\n");
  EXPECT_EQ(host::MessageBoxLog().size(), 1u);
  EXPECT_FALSE(platform::FileExists(path_ + ".~wr"));
}

}  // namespace
