// [Extensions] entries: the four keys below HKEY_CLASSES_ROOT, their records and failures.
#include "install/file_associations.h"

#include <gtest/gtest.h>

#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/ini_file.h"
#include "app/run_state.h"
#include "install/uninstall_record.h"
#include "platform/file_system.h"
#include "platform/folders.h"
#include "platform/host/host_control.h"
#include "platform/message_box.h"
#include "platform/registry.h"
#include "text/text_fixture.h"

namespace {

using platform::RegistryRoot;
using Strings = std::vector<std::string>;

class FileAssociationsTest : public TextTest {
 protected:
  void SetUp() override {
    TextTest::SetUp();
    UseLanguageTable("[Messages]\n20=Cannot register the file type %s.<#>Sorry.\n");
    UseScript("[Setup]\nAppName=Demo\n");
    view_.SetText(FormControl::Edit1, "C:\\Program Files\\Demo App");
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

  static Strings Records(const std::string& section) {
    IniFile file(RecordPath());
    Strings values;
    for (const std::string& key : file.ReadSectionComplete(section))
      values.push_back(file.ReadString(section, key, ""));
    return values;
  }

  // The default value of a key below HKEY_CLASSES_ROOT; "<none>" when it is missing and
  // "<type N>" when it is not a plain string.
  static std::string Default(const std::string& key) {
    std::optional<platform::RegistryValue> value =
        platform::RegistryReadValue(RegistryRoot::ClassesRoot, key, "");
    if (!value) return "<none>";
    if (value->type != platform::RegistryValueType::String)
      return "<type " + std::to_string(static_cast<uint32_t>(value->type)) + ">";
    return value->data;
  }

  uint64_t Slept() const { return host::SleptMilliseconds() - slept_; }

 private:
  uint64_t slept_ = 0;
};

TEST_F(FileAssociationsTest, WritesTheFourKeysWithTheirDefaultValues) {
  struct Case {
    const char* entry;
    const char* extension;
    const char* description;
    const char* icon;
    const char* command;
  };
  const Case cases[] = {
      {"dem*?<InstallDir>\\demo.exe*?<AppName> document*?C:\\Icons\\demo.ico*?2", "dem",
       "Demo document", "C:\\Icons\\demo.ico,2",
       "\"C:\\Program Files\\Demo App\\demo.exe\" \"%1\""},
      // The empty icon index at the end was dropped: four fields, index "0".
      {"dm4*?C:\\App\\a.exe*?Four*?<InstallDir>\\icons.dll*?", "dm4", "Four",
       "C:\\Program Files\\Demo App\\icons.dll,0", "\"C:\\App\\a.exe\" \"%1\""},
      {"dm5*?C:\\App\\a.exe*?Five*?C:\\App\\icons.dll*?*?", "dm5", "Five", "C:\\App\\icons.dll,0",
       "\"C:\\App\\a.exe\" \"%1\""},
      // Without an icon file the program's first icon serves, whatever the index says.
      {"dmx*?<InstallDir>\\demo.exe*?*?*?7", "dmx", "", "C:\\Program Files\\Demo App\\demo.exe,0",
       "\"C:\\Program Files\\Demo App\\demo.exe\" \"%1\""},
      // The extension is taken as written, variables and all.
      {"<AppName>*?C:\\App\\a.exe*?Raw*?C:\\App\\a.exe*?1", "<AppName>", "Raw", "C:\\App\\a.exe,1",
       "\"C:\\App\\a.exe\" \"%1\""},
  };
  for (const Case& c : cases) {
    CreateAssociation(c.entry);
    const std::string type = std::string(c.extension) + "file";
    EXPECT_EQ(Default(std::string(".") + c.extension), type) << c.entry;
    EXPECT_EQ(Default(type), c.description) << c.entry;
    EXPECT_EQ(Default(type + "\\DefaultIcon"), c.icon) << c.entry;
    EXPECT_EQ(Default(type + "\\shell\\open\\command"), c.command) << c.entry;
  }
  EXPECT_TRUE(host::MessageBoxLog().empty());
  EXPECT_FALSE(::Run().InstallErrors);
  EXPECT_EQ(Slept(), 100u * std::size(cases));
}

TEST_F(FileAssociationsTest, ExistingKeysAreOverwrittenAndAlwaysRecordedOnce) {
  ASSERT_TRUE(host::RegistrySetValue(RegistryRoot::ClassesRoot, ".dem", "",
                                     host::RegistryString("other.document")));
  const Strings entries = {"dem*?C:\\App\\a.exe*?Doc*?*?", "dmo*?C:\\App\\b.exe*?Other*?*?"};
  for (const std::string& entry : entries) CreateAssociation(entry);
  EXPECT_EQ(Default(".dem"), "demfile");
  const Strings expected = {"HKEY_CLASSES_ROOT*?.dem", "HKEY_CLASSES_ROOT*?demfile",
                            "HKEY_CLASSES_ROOT*?.dmo", "HKEY_CLASSES_ROOT*?dmofile"};
  EXPECT_EQ(Records("RegistryKeys"), expected);

  const std::string once = ReadFile(RecordPath());
  for (const std::string& entry : entries) CreateAssociation(entry);
  EXPECT_EQ(ReadFile(RecordPath()), once);
  EXPECT_EQ(Slept(), 400u);
}

TEST_F(FileAssociationsTest, RegistryFailureShowsMessage20AndRecordsNothing) {
  struct Case {
    const char* entry;
    const char* text;
    const char* keptKey;  // written before the failure, nullptr when none was
  };
  // The host registry refuses a path with an empty step, as Windows does.
  const Case cases[] = {
      {"a\\\\b*?C:\\App\\a.exe*?Doc*?*?", "Cannot register the file type .a\\\\b.\r\nSorry.",
       nullptr},
      // ".\x" can be made, but the type name "\xfile" cannot.
      {"\\x*?C:\\App\\a.exe*?Doc*?*?", "Cannot register the file type .\\x.\r\nSorry.", ".\\x"},
  };
  for (const Case& c : cases) {
    host::ClearMessageBoxLog();
    ::Run().InstallErrors = false;
    CreateAssociation(c.entry);
    ASSERT_EQ(host::MessageBoxLog().size(), 1u) << c.entry;
    const host::MessageBoxRecord& box = host::MessageBoxLog()[0];
    EXPECT_EQ(box.text, c.text);
    EXPECT_EQ(box.caption, "Setup");
    EXPECT_EQ(box.style, platform::kMbOk | platform::kMbIconError);
    EXPECT_TRUE(::Run().InstallErrors);
    if (c.keptKey) {
      EXPECT_EQ(Default(c.keptKey), "\\xfile");
    }
  }
  EXPECT_FALSE(platform::FileExists(RecordPath()));
  EXPECT_EQ(Slept(), 0u);
}

TEST_F(FileAssociationsTest, EntriesOfAnotherFieldCountAreIgnored) {
  const std::string before = host::RegistryExport();
  for (const char* entry :
       {"dem*?C:\\App\\a.exe*?Doc", "dem*?C:\\App\\a.exe*?Doc*?C:\\i.ico*?1*?More", ""})
    CreateAssociation(entry);
  EXPECT_EQ(host::RegistryExport(), before);
  EXPECT_TRUE(host::MessageBoxLog().empty());
  EXPECT_FALSE(::Run().InstallErrors);
  EXPECT_FALSE(platform::FileExists(RecordPath()));
  EXPECT_EQ(Slept(), 0u);
}

}  // namespace
