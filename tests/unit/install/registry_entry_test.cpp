#include "install/registry_entry.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/ini_file.h"
#include "app/run_state.h"
#include "install/uninstall_record.h"
#include "platform/host/host_control.h"
#include "platform/message_box.h"
#include "platform/registry.h"
#include "text/text_fixture.h"

namespace {

using platform::RegistryRoot;
using platform::RegistryValueType;

class RegistryEntryTest : public TextTest {
 protected:
  void SetUp() override {
    TextTest::SetUp();
    UseLanguageTable(
        "[Messages]\n17=Cannot create the key %s.\n18=Cannot write the value %s.<#>Sorry.\n");
    UseScript("[Setup]\nAppName=Demo\n");
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

  // The [Registry] section of the script holds the entries, and each is applied in order, as the
  // installation driver does.
  void ApplyAll(const std::vector<std::string>& entries) {
    std::string script = "[Setup]\nAppName=Demo\n[Registry]\n";
    for (size_t i = 0; i < entries.size(); ++i)
      script += std::to_string(i) + "=" + entries[i] + "\n";
    UseScript(script);
    for (const std::string& entry : entries) ApplyRegistryEntry(entry);
  }

  // A section of the record as the uninstaller would read it from the disk.
  static std::vector<std::string> Records(const std::string& section) {
    IniFile file(RecordPath());
    std::vector<std::string> values;
    for (const std::string& key : file.ReadSectionComplete(section))
      values.push_back(file.ReadString(section, key, ""));
    return values;
  }

  static std::optional<platform::RegistryValue> Value(RegistryRoot root, const std::string& key,
                                                      const std::string& name) {
    return platform::RegistryReadValue(root, key, name);
  }

  uint64_t Slept() const { return host::SleptMilliseconds() - slept_; }

 private:
  uint64_t slept_ = 0;
};

using Strings = std::vector<std::string>;

TEST_F(RegistryEntryTest, CreatedKeysAreRecordedOutermostFirstWithTheirValue) {
  ASSERT_TRUE(platform::RegistryKeyExists(RegistryRoot::CurrentUser, "Software"));
  ApplyAll({"HKEY_CURRENT_USER*?Software\\Acme\\<AppName>*?Path*?REG_SZ*?C:\\App*?Yes*?Yes",
            // The same keys again: they exist now, so nothing more is recorded for them.
            "HKEY_CURRENT_USER*?Software\\Acme\\Demo*?Other*?REG_SZ*?x*?No*?Yes",
            // Only "Yes" asks for removal; the entry is still applied.
            "HKEY_CURRENT_USER*?Software\\Acme\\Demo\\Sub*?Third*?REG_SZ*?x*?Yes*?yes"});

  EXPECT_EQ(Records("RegistryKeys"), (Strings{"HKEY_CURRENT_USER*?Software\\Acme",
                                              "HKEY_CURRENT_USER*?Software\\Acme\\Demo"}));
  EXPECT_EQ(Records("RegistryValues"), (Strings{"HKEY_CURRENT_USER*?Software\\Acme\\Demo*?Path",
                                                "HKEY_CURRENT_USER*?Software\\Acme\\Demo*?Other"}));
  std::optional<platform::RegistryValue> path =
      Value(RegistryRoot::CurrentUser, "Software\\Acme\\Demo", "path");
  ASSERT_TRUE(path.has_value());
  EXPECT_EQ(path->type, RegistryValueType::String);
  EXPECT_EQ(path->data, "C:\\App");
  EXPECT_TRUE(Value(RegistryRoot::CurrentUser, "Software\\Acme\\Demo\\Sub", "Third").has_value());
  EXPECT_EQ(Slept(), 300u);
  EXPECT_TRUE(host::MessageBoxLog().empty());
  EXPECT_FALSE(::Run().InstallErrors);
}

TEST_F(RegistryEntryTest, KeyThatAnotherEntryKeepsIsNotRecordedButItsValueIs) {
  // The second entry names its key through a variable: the keep rule sees expanded values.
  ApplyAll({"HKEY_CURRENT_USER*?Software\\Shared\\Mine*?V*?REG_SZ*?x*?Yes*?Yes",
            "HKEY_CURRENT_USER*?Software\\Shared*?<AppName>*?REG_SZ*?y*?Yes*?No"});
  EXPECT_EQ(Records("RegistryKeys"), (Strings{"HKEY_CURRENT_USER*?Software\\Shared\\Mine"}));
  EXPECT_EQ(Records("RegistryValues"), (Strings{"HKEY_CURRENT_USER*?Software\\Shared\\Mine*?V"}));
  EXPECT_TRUE(Value(RegistryRoot::CurrentUser, "Software\\Shared", "Demo").has_value());
}

TEST_F(RegistryEntryTest, KeepRuleNeedsTheKeyTextAndAFinalLowerCaseO) {
  struct Case {
    const char* value;
    const char* key;
    bool kept;
  };
  const Case cases[] = {
      {"HKEY_CURRENT_USER*?Software\\Shared*?V*?REG_SZ*?x*?Yes*?No", "Software\\Shared", true},
      // Any text holding the key counts, also a longer path or another root.
      {"HKEY_CLASSES_ROOT*?Software\\Shared\\Deep*?V*?REG_SZ*?x*?Yes*?No", "Software\\Shared",
       true},
      {"HKEY_CURRENT_USER*?Software\\Shared*?V*?REG_SZ*?x*?Yes*?Yes", "Software\\Shared", false},
      {"HKEY_CURRENT_USER*?Software\\Shared*?V*?REG_SZ*?x*?Yes*?NO", "Software\\Shared", false},
      // The text is compared as it is written.
      {"HKEY_CURRENT_USER*?software\\shared*?V*?REG_SZ*?x*?Yes*?No", "Software\\Shared", false},
      {"", "Software", false},
  };
  for (const Case& c : cases) EXPECT_EQ(EntryKeepsKey(c.value, c.key), c.kept) << c.value;
}

TEST_F(RegistryEntryTest, ExistingValueIsOnlyReplacedWhenTheEntrySaysSo) {
  ASSERT_TRUE(host::RegistrySetValue(RegistryRoot::CurrentUser, "Software\\Acme", "Kept",
                                     host::RegistryString("old")));
  ASSERT_TRUE(host::RegistrySetValue(RegistryRoot::CurrentUser, "Software\\Acme", "Replaced",
                                     host::RegistryString("old")));

  ApplyAll({"HKEY_CURRENT_USER*?Software\\Acme*?kept*?REG_DWORD*?5*?No*?Yes",
            "HKEY_CURRENT_USER*?Software\\Acme*?Replaced*?REG_SZ*?new*?Yes*?Yes"});

  std::optional<platform::RegistryValue> kept =
      Value(RegistryRoot::CurrentUser, "Software\\Acme", "Kept");
  ASSERT_TRUE(kept.has_value());
  EXPECT_EQ(kept->type, RegistryValueType::String);
  EXPECT_EQ(kept->data, "old");
  EXPECT_EQ(Value(RegistryRoot::CurrentUser, "Software\\Acme", "Replaced")->data, "new");
  EXPECT_EQ(Records("RegistryValues"), (Strings{"HKEY_CURRENT_USER*?Software\\Acme*?Replaced"}));
  EXPECT_EQ(Slept(), 100u);  // only the entry that wrote pauses
}

TEST_F(RegistryEntryTest, TypeWordsWriteTheirKindOfData) {
  struct Case {
    const char* type;
    const char* data;
    RegistryValueType written;
    std::string bytes;
  };
  const Case cases[] = {
      {"REG_SZ", "<AppName> app", RegistryValueType::String, "Demo app"},
      {"REG_EXPAND_SZ", "%SystemRoot%\\<AppName>", RegistryValueType::ExpandString,
       "%SystemRoot%\\Demo"},
      {"REG_DWORD", "-1", RegistryValueType::DWord, std::string(4, '\xFF')},
      {"REG_DWORD", "$10", RegistryValueType::DWord, std::string("\x10\0\0\0", 4)},
      {"REG_BINARY", "01 02 0A", RegistryValueType::Binary, "\x01\x02\x0A"},
      {"REG_BINARY", "01,FF", RegistryValueType::Binary, "\x01\xFF"},
      {"REG_BINARY", "", RegistryValueType::Binary, ""},
  };
  for (const Case& c : cases) {
    std::string entry = std::string("HKEY_CURRENT_USER*?Software\\Types*?V*?") + c.type + "*?" +
                        c.data + "*?Yes*?No";
    ApplyRegistryEntry(entry);
    std::optional<platform::RegistryValue> value =
        Value(RegistryRoot::CurrentUser, "Software\\Types", "V");
    ASSERT_TRUE(value.has_value()) << entry;
    EXPECT_EQ(value->type, c.written) << entry;
    EXPECT_EQ(value->data, c.bytes) << entry;
  }
  EXPECT_TRUE(host::MessageBoxLog().empty());
}

TEST_F(RegistryEntryTest, BinaryDataBeyond4096BytesIsWrittenWhole) {
  std::string data;
  for (int i = 0; i < 5000; ++i) data += (i % 2 ? "A5 " : "5A ");
  ApplyRegistryEntry("HKEY_CURRENT_USER*?Software\\Big*?Blob*?REG_BINARY*?" + data + "*?Yes*?No");
  std::optional<platform::RegistryValue> value =
      Value(RegistryRoot::CurrentUser, "Software\\Big", "Blob");
  ASSERT_TRUE(value.has_value());
  ASSERT_EQ(value->data.size(), 5000u);
  EXPECT_EQ(value->data.substr(4094, 4), "\x5A\xA5\x5A\xA5");
  EXPECT_TRUE(host::MessageBoxLog().empty());
}

TEST_F(RegistryEntryTest, DataThatDoesNotConvertShowsMessage18AndAbandonsTheEntry) {
  const struct {
    const char* type;
    const char* data;
  } cases[] = {{"REG_DWORD", "ten"}, {"REG_DWORD", ""}, {"REG_BINARY", "01 0G"}};
  for (const auto& c : cases) {
    host::ClearMessageBoxLog();
    ::Run().InstallErrors = false;
    uint64_t before = host::SleptMilliseconds();
    ApplyRegistryEntry(std::string("HKEY_CURRENT_USER*?Software\\Acme\\<AppName>*?Count*?") +
                       c.type + "*?" + c.data + "*?Yes*?Yes");
    ASSERT_EQ(host::MessageBoxLog().size(), 1u) << c.type << " " << c.data;
    const host::MessageBoxRecord& box = host::MessageBoxLog()[0];
    EXPECT_EQ(box.text,
              "Cannot write the value HKEY_CURRENT_USER\\Software\\Acme\\Demo\\: Count.\r\nSorry.");
    EXPECT_EQ(box.caption, "Setup");
    EXPECT_EQ(box.style, platform::kMbOk | platform::kMbIconError);
    EXPECT_TRUE(::Run().InstallErrors);
    EXPECT_FALSE(Value(RegistryRoot::CurrentUser, "Software\\Acme\\Demo", "Count").has_value());
    EXPECT_EQ(host::SleptMilliseconds(), before);
  }
  // The keys made before the failure stay, and so do their records; the value has none.
  EXPECT_EQ(Records("RegistryKeys"), (Strings{"HKEY_CURRENT_USER*?Software\\Acme",
                                              "HKEY_CURRENT_USER*?Software\\Acme\\Demo"}));
  EXPECT_TRUE(Records("RegistryValues").empty());
}

TEST_F(RegistryEntryTest, KeyThatCannotBeCreatedShowsMessage17AndAbandonsTheEntry) {
  // The host registry refuses a path with an empty step, as Windows does.
  ApplyRegistryEntry("HKEY_LOCAL_MACHINE*?SOFTWARE\\Acme\\\\Bad*?V*?REG_SZ*?x*?Yes*?Yes");
  ASSERT_EQ(host::MessageBoxLog().size(), 1u);
  const host::MessageBoxRecord& box = host::MessageBoxLog()[0];
  EXPECT_EQ(box.text, "Cannot create the key HKEY_LOCAL_MACHINE\\SOFTWARE\\Acme\\\\Bad.");
  EXPECT_EQ(box.caption, "Setup");
  EXPECT_EQ(box.style, platform::kMbOk | platform::kMbIconError);
  EXPECT_TRUE(::Run().InstallErrors);
  EXPECT_EQ(Records("RegistryKeys"), (Strings{"HKEY_LOCAL_MACHINE*?SOFTWARE\\Acme"}));
  EXPECT_TRUE(Records("RegistryValues").empty());
  EXPECT_EQ(Slept(), 0u);
}

TEST_F(RegistryEntryTest, UnknownTypeWordWritesNothingYetRecordsTheValue) {
  ApplyRegistryEntry("HKEY_CURRENT_USER*?Software\\Acme*?Q*?REG_QWORD*?1*?Yes*?Yes");
  EXPECT_TRUE(platform::RegistryKeyExists(RegistryRoot::CurrentUser, "Software\\Acme"));
  EXPECT_FALSE(Value(RegistryRoot::CurrentUser, "Software\\Acme", "Q").has_value());
  EXPECT_EQ(Records("RegistryValues"), (Strings{"HKEY_CURRENT_USER*?Software\\Acme*?Q"}));
  EXPECT_EQ(Slept(), 100u);
  EXPECT_TRUE(host::MessageBoxLog().empty());
  EXPECT_FALSE(::Run().InstallErrors);
}

TEST_F(RegistryEntryTest, RootWordsSelectTheirRootAndAnythingElseTheCurrentUser) {
  const struct {
    const char* word;
    RegistryRoot root;
  } cases[] = {{"HKEY_CLASSES_ROOT", RegistryRoot::ClassesRoot},
               {"HKEY_CURRENT_USER", RegistryRoot::CurrentUser},
               {"HKEY_LOCAL_MACHINE", RegistryRoot::LocalMachine},
               {"HKEY_USERS", RegistryRoot::Users},
               {"HKLM", RegistryRoot::CurrentUser},
               {"hkey_local_machine", RegistryRoot::CurrentUser}};
  Strings expectedKeys, expectedValues;
  bool currentUserHasParent = false;
  for (const auto& c : cases) {
    std::string key = std::string("RootTest\\") + c.word;
    ApplyRegistryEntry(std::string(c.word) + "*?" + key + "*?V*?REG_SZ*?x*?Yes*?Yes");
    EXPECT_TRUE(Value(c.root, key, "V").has_value()) << c.word;
    if (c.root != RegistryRoot::CurrentUser) {
      EXPECT_FALSE(Value(RegistryRoot::CurrentUser, key, "V").has_value()) << c.word;
    }
    // The records name the root as the entry wrote it.
    if (c.root != RegistryRoot::CurrentUser || !currentUserHasParent)
      expectedKeys.push_back(std::string(c.word) + "*?RootTest");
    if (c.root == RegistryRoot::CurrentUser) currentUserHasParent = true;
    expectedKeys.push_back(std::string(c.word) + "*?" + key);
    expectedValues.push_back(std::string(c.word) + "*?" + key + "*?V");
  }
  EXPECT_EQ(Records("RegistryKeys"), expectedKeys);
  EXPECT_EQ(Records("RegistryValues"), expectedValues);
}

TEST_F(RegistryEntryTest, EntriesOfAnotherFieldCountAreIgnored) {
  const std::string before = host::RegistryExport();
  for (const char* entry :
       {"HKEY_CURRENT_USER*?Software\\Acme*?V*?REG_DWORD*?bad*?Yes",
        "HKEY_CURRENT_USER*?Software\\Acme*?V*?REG_DWORD*?bad*?Yes*?Yes*?More", ""})
    ApplyRegistryEntry(entry);
  EXPECT_EQ(host::RegistryExport(), before);
  EXPECT_TRUE(host::MessageBoxLog().empty());
  EXPECT_FALSE(::Run().InstallErrors);
  EXPECT_TRUE(Records("RegistryKeys").empty());
  EXPECT_TRUE(Records("RegistryValues").empty());
  EXPECT_EQ(Slept(), 0u);
}

}  // namespace
