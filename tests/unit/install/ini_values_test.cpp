// [INI] entries: what reaches the INI file, what the uninstaller is told, and when.
#include "install/ini_values.h"

#include <gtest/gtest.h>

#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/ini_file.h"
#include "app/run_state.h"
#include "install/uninstall_record.h"
#include "platform/file_system.h"
#include "platform/folders.h"
#include "platform/host/host_control.h"
#include "platform/message_box.h"
#include "text/text_fixture.h"

namespace {

using Strings = std::vector<std::string>;

class IniValuesTest : public TextTest {
 protected:
  void SetUp() override {
    TextTest::SetUp();
    UseLanguageTable("[Messages]\n19=Cannot write to %s.<#>Check the folder.\n");
    UseScript("[Setup]\nAppName=Demo\n");
    view_.SetText(FormControl::Edit1, "C:\\Program Files\\Demo");
    ASSERT_TRUE(platform::ForceFolders("C:\\Program Files\\Demo"));
    ASSERT_TRUE(platform::ForceFolders(kTempFolder));
    RunState& run = ::Run();
    run.InstallErrors = false;
    run.UninstallRecord = std::make_unique<TUninstallRecord>(RecordPath());
    slept_ = host::SleptMilliseconds();
  }
  void TearDown() override {
    ::Run().UninstallRecord.reset();
    ::Run().InstallErrors = false;
    TextTest::TearDown();
  }

  static std::string RecordPath() { return std::string(kTempFolder) + "\\Uninstall.ini"; }

  // A section of the record as the uninstaller would read it from the disk.
  static Strings Records(const std::string& section) {
    IniFile file(RecordPath());
    Strings values;
    for (const std::string& key : file.ReadSectionComplete(section))
      values.push_back(file.ReadString(section, key, ""));
    return values;
  }

  uint64_t Slept() const { return host::SleptMilliseconds() - slept_; }

 private:
  uint64_t slept_ = 0;
};

TEST_F(IniValuesTest, NewFileWithRemovalRecordsTheFileOnceAndEachValue) {
  WriteIniValue("<InstallDir>\\demo.ini*?<AppName>*?Path*?<InstallDir>\\bin*?No*?Yes");
  // The file exists now: a second value in it records only itself.
  WriteIniValue("<InstallDir>\\demo.ini*?<AppName>*?Mode*?fast*?No*?Yes");

  EXPECT_EQ(ReadFile("C:\\Program Files\\Demo\\demo.ini"),
            "[Demo]\r\nPath=C:\\Program Files\\Demo\\bin\r\nMode=fast\r\n");
  EXPECT_EQ(Records("Files"), (Strings{"C:\\Program Files\\Demo\\demo.ini"}));
  EXPECT_EQ(Records("INIValues"), (Strings{"C:\\Program Files\\Demo\\demo.ini*?Demo*?Path",
                                           "C:\\Program Files\\Demo\\demo.ini*?Demo*?Mode"}));
  EXPECT_EQ(Slept(), 200u);
  EXPECT_TRUE(host::MessageBoxLog().empty());
  EXPECT_FALSE(::Run().InstallErrors);

  // A repeated installation records nothing twice.
  const std::string once = ReadFile(RecordPath());
  WriteIniValue("<InstallDir>\\demo.ini*?<AppName>*?Path*?again*?Yes*?Yes");
  EXPECT_EQ(ReadFile(RecordPath()), once);
}

TEST_F(IniValuesTest, WithoutRemovalTheValueIsWrittenButNothingRecorded) {
  // Only "Yes" asks for removal.
  const char* removals[] = {"No", "yes", "YES"};
  for (size_t i = 0; i < std::size(removals); ++i) {
    const std::string path = "C:\\Program Files\\Demo\\r" + std::to_string(i) + ".ini";
    WriteIniValue(path + "*?S*?K*?v*?No*?" + removals[i]);
    EXPECT_EQ(ReadFile(path), "[S]\r\nK=v\r\n") << removals[i];
  }
  EXPECT_FALSE(platform::FileExists(RecordPath()));
  EXPECT_EQ(Slept(), 300u);
}

TEST_F(IniValuesTest, ExistingKeyIsKeptUnlessOverwriteIsYes) {
  const std::string path = "C:\\Program Files\\Demo\\settings.ini";
  const std::string original = "[Options]\r\nCOLOR=red\r\n";
  // Key and section names match without regard to letter case; only "Yes" overwrites.
  for (const char* overwrite : {"No", "yes", "YES", ""}) {
    WriteFile(path, original);
    WriteIniValue(path + "*?options*?Color*?blue*?" + overwrite + "*?Yes");
    EXPECT_EQ(ReadFile(path), original) << overwrite;
  }
  EXPECT_FALSE(platform::FileExists(RecordPath()));
  EXPECT_EQ(Slept(), 0u);

  WriteIniValue(path + "*?options*?Color*?blue*?Yes*?Yes");
  EXPECT_EQ(ReadFile(path), "[Options]\r\nCOLOR=blue\r\n");
  EXPECT_TRUE(Records("Files").empty());
  EXPECT_EQ(Records("INIValues"), (Strings{path + "*?options*?Color"}));
  EXPECT_EQ(Slept(), 100u);
}

TEST_F(IniValuesTest, KeyBeyondTheServiceListingStillCountsAsExisting) {
  // Enough keys before it that its name falls outside the 16 KB key listing.
  std::string text = "[Big]\r\n";
  for (int i = 0; i < 1500; ++i) text += "LongKeyName" + std::to_string(i) + "=x\r\n";
  text += "Last=keep\r\n";
  const std::string path = "C:\\Program Files\\Demo\\big.ini";
  WriteFile(path, text);
  ASSERT_FALSE(IniFile(path).ValueExists("Big", "Last"));

  WriteIniValue(path + "*?Big*?LAST*?changed*?No*?Yes");
  EXPECT_EQ(ReadFile(path), text);
  EXPECT_EQ(Slept(), 0u);
}

TEST_F(IniValuesTest, FailedWriteShowsMessage19AndStillPauses) {
  WriteIniValue("C:\\Missing\\demo.ini*?S*?<AppName>Key*?v*?Yes*?Yes");

  ASSERT_EQ(host::MessageBoxLog().size(), 1u);
  const host::MessageBoxRecord& box = host::MessageBoxLog()[0];
  EXPECT_EQ(box.text, "Cannot write to C:\\Missing\\demo.ini\r\nDemoKey.\r\nCheck the folder.");
  EXPECT_EQ(box.caption, "Setup");
  EXPECT_EQ(box.style, platform::kMbOk | platform::kMbIconError);
  EXPECT_TRUE(::Run().InstallErrors);
  EXPECT_FALSE(platform::FolderExists("C:\\Missing"));
  // The file was recorded before the write was tried; the value that was not written is not.
  EXPECT_EQ(Records("Files"), (Strings{"C:\\Missing\\demo.ini"}));
  EXPECT_TRUE(Records("INIValues").empty());
  EXPECT_EQ(Slept(), 100u);
}

TEST_F(IniValuesTest, EntriesOfAnotherFieldCountAreIgnored) {
  for (const char* entry : {"C:\\Program Files\\Demo\\x.ini*?S*?K*?v*?Yes",
                            "C:\\Program Files\\Demo\\x.ini*?S*?K*?v*?Yes*?Yes*?More",
                            // The empty removal flag at the end is dropped: five fields.
                            "C:\\Program Files\\Demo\\x.ini*?S*?K*?v*?Yes*?", ""})
    WriteIniValue(entry);
  EXPECT_FALSE(platform::FileExists("C:\\Program Files\\Demo\\x.ini"));
  EXPECT_FALSE(platform::FileExists(RecordPath()));
  EXPECT_TRUE(host::MessageBoxLog().empty());
  EXPECT_FALSE(::Run().InstallErrors);
  EXPECT_EQ(Slept(), 0u);
}

}  // namespace
