#include "install/uninstall_registration.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/ini_file.h"
#include "app/run_state.h"
#include "install/uninstall_record.h"
#include "platform/clock.h"
#include "platform/host/host_control.h"
#include "platform/message_box.h"
#include "platform/registry.h"
#include "text/text_fixture.h"

namespace {

using platform::RegistryRoot;
using platform::RegistryValueType;
using Strings = std::vector<std::string>;

constexpr const char* kListKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

class UninstallRegistrationTest : public TextTest {
 protected:
  void SetUp() override {
    TextTest::SetUp();
    UseLanguageTable("[Messages]\n15=Cannot register %s.<#>Go on.\n");
    Script("Demo App", "7346");
    view_.SetText(FormControl::Edit1, "C:\\Program Files\\Demo\\");
    RunState& run = ::Run();
    run.InstallErrors = false;
    run.UninstallRecord = std::make_unique<TUninstallRecord>(RecordPath());
  }
  void TearDown() override {
    ::Run().UninstallRecord.reset();
    ::Run().InstallErrors = false;
    TextTest::TearDown();
  }

  void Script(const std::string& appName, const std::string& filesSize) {
    UseScript("[Setup]\nAppName=" + appName +
              "\nAppVersion=1.2\nCompanyName=Acme <AppVersion>\n"
              "SupportLink=https://acme.example/<AppVersion>/help\n"
              "WebSite=https://acme.example/<AppName>\n" +
              (filesSize.empty() ? "" : "FilesSize=" + filesSize + "\n"));
  }

  static std::string RecordPath() { return std::string(kTempFolder) + "\\Uninstall.ini"; }
  static std::string AppKey(const std::string& appName) {
    return std::string(kListKey) + "\\" + appName;
  }

  static std::vector<std::string> Records(const std::string& section) {
    IniFile file(RecordPath());
    std::vector<std::string> values;
    for (const std::string& key : file.ReadSectionComplete(section))
      values.push_back(file.ReadString(section, key, ""));
    return values;
  }

  // The value names of a key in the order they were first written, from the registry file text.
  static Strings ValueNames(const std::string& key) {
    std::string text = host::RegistryExport();
    std::string header = "[HKEY_LOCAL_MACHINE\\" + key + "]\n";
    size_t at = text.find(header);
    Strings names;
    if (at == std::string::npos) return names;
    at += header.size();
    while (at < text.size() && text[at] == '"') {
      size_t close = text.find('"', at + 1);
      names.push_back(text.substr(at + 1, close - at - 1));
      at = text.find('\n', close) + 1;
    }
    return names;
  }

  static std::optional<platform::RegistryValue> Value(const std::string& key,
                                                      const std::string& name) {
    return platform::RegistryReadValue(RegistryRoot::LocalMachine, key, name);
  }
  static std::string StringValue(const std::string& key, const std::string& name) {
    std::optional<platform::RegistryValue> value = Value(key, name);
    if (!value) return "(missing)";
    if (value->type != RegistryValueType::String) return "(not a string)";
    return value->data;
  }
  static std::optional<uint32_t> EstimatedSize(const std::string& key) {
    std::optional<platform::RegistryValue> value = Value(key, "EstimatedSize");
    if (!value || value->type != RegistryValueType::DWord || value->data.size() != 4)
      return std::nullopt;
    uint32_t number = 0;
    for (int i = 3; i >= 0; --i) number = number << 8 | static_cast<unsigned char>(value->data[i]);
    return number;
  }

  static std::string Today() {
    platform::LocalDateTime now = platform::LocalNow();
    char text[16];
    std::snprintf(text, sizeof text, "%04d%02d%02d", now.year, now.month, now.day);
    return text;
  }
};

TEST_F(UninstallRegistrationTest, WritesTheEntryInOrderAndRecordsItsKey) {
  ::Run().UninstallRecord->File().WriteString("General", "MainExecutable",
                                              "C:\\Program Files\\Demo\\demo.exe");
  std::string before = Today();
  RegisterUninstallInformation();
  std::string after = Today();

  const std::string key = AppKey("Demo App");
  EXPECT_EQ(ValueNames(key), (Strings{"DisplayName", "DisplayVersion", "DisplayIcon",
                                      "InstallLocation", "EstimatedSize", "InstallDate", "HelpLink",
                                      "Publisher", "UninstallString", "URLInfoAbout"}));
  EXPECT_EQ(StringValue(key, "DisplayName"), "Demo App 1.2");
  EXPECT_EQ(StringValue(key, "DisplayVersion"), "1.2");
  EXPECT_EQ(StringValue(key, "DisplayIcon"), "C:\\Program Files\\Demo\\demo.exe");
  EXPECT_EQ(StringValue(key, "InstallLocation"), "C:\\Program Files\\Demo");
  EXPECT_EQ(EstimatedSize(key), 7u);
  std::string date = StringValue(key, "InstallDate");
  EXPECT_TRUE(date == before || date == after) << date;
  EXPECT_EQ(StringValue(key, "HelpLink"), "https://acme.example/1.2/help");
  EXPECT_EQ(StringValue(key, "Publisher"), "Acme <AppVersion>");  // as stored
  EXPECT_EQ(StringValue(key, "UninstallString"), "C:\\Program Files\\Demo\\Uninstall.exe");
  EXPECT_EQ(StringValue(key, "URLInfoAbout"), "https://acme.example/Demo App");

  EXPECT_EQ(Records("RegistryKeys"), (Strings{"HKEY_LOCAL_MACHINE*?" + key}));
  EXPECT_TRUE(host::MessageBoxLog().empty());
  EXPECT_FALSE(::Run().InstallErrors);
}

TEST_F(UninstallRegistrationTest, EstimatedSizeIsKilobytesCutTowardZero) {
  const struct {
    const char* filesSize;  // "": not in the script
    uint32_t kilobytes;
  } cases[] = {{"7346", 7}, {"1023", 0}, {"1024", 1}, {"0", 0}, {"", 0}, {"-2047", 0xFFFFFFFFu}};
  for (const auto& c : cases) {
    Script("Demo App", c.filesSize);
    RegisterUninstallInformation();
    EXPECT_EQ(EstimatedSize(AppKey("Demo App")), c.kilobytes) << c.filesSize;
  }
}

TEST_F(UninstallRegistrationTest, EmptyMainExecutableLeavesTheIconOut) {
  RegisterUninstallInformation();
  Strings names = ValueNames(AppKey("Demo App"));
  EXPECT_EQ(names.size(), 9u);
  EXPECT_FALSE(Value(AppKey("Demo App"), "DisplayIcon").has_value());

  // Without an open record there is no main executable either, and nothing to record into.
  ::Run().UninstallRecord.reset();
  Script("Other App", "0");
  RegisterUninstallInformation();
  EXPECT_FALSE(Value(AppKey("Other App"), "DisplayIcon").has_value());
  EXPECT_EQ(StringValue(AppKey("Other App"), "DisplayName"), "Other App 1.2");
}

TEST_F(UninstallRegistrationTest, FailureShowsMessage15AndStillRecordsTheKey) {
  // The host registry refuses a path with an empty step, as Windows does.
  Script("Bad\\\\Name", "7346");
  RegisterUninstallInformation();
  const std::string key = AppKey("Bad\\\\Name");
  ASSERT_EQ(host::MessageBoxLog().size(), 1u);
  const host::MessageBoxRecord& box = host::MessageBoxLog()[0];
  EXPECT_EQ(box.text, "Cannot register HKEY_LOCAL_MACHINE\\" + key + ".\r\nGo on.");
  EXPECT_EQ(box.caption, "Setup");
  EXPECT_EQ(box.style, platform::kMbOk | platform::kMbIconError);
  EXPECT_TRUE(::Run().InstallErrors);
  EXPECT_EQ(Records("RegistryKeys"), (Strings{"HKEY_LOCAL_MACHINE*?" + key}));
  EXPECT_FALSE(platform::RegistryKeyExists(RegistryRoot::LocalMachine, AppKey("Bad")));
}

TEST_F(UninstallRegistrationTest, NameThatWouldNameTheWholeListIsRefused) {
  ASSERT_TRUE(host::RegistrySetValue(RegistryRoot::LocalMachine, AppKey("Someone Else"),
                                     "DisplayName", host::RegistryString("Someone Else")));
  for (const char* appName : {"", "\\", "\\\\"}) {
    host::ClearMessageBoxLog();
    ::Run().InstallErrors = false;
    Script(appName, "7346");
    RegisterUninstallInformation();
    ASSERT_EQ(host::MessageBoxLog().size(), 1u) << appName;
    EXPECT_EQ(host::MessageBoxLog()[0].text.substr(0, 16), "Cannot register ");
    EXPECT_TRUE(::Run().InstallErrors);
  }
  EXPECT_FALSE(Value(kListKey, "DisplayName").has_value());
  EXPECT_FALSE(Value(kListKey, "UninstallString").has_value());
  EXPECT_TRUE(Records("RegistryKeys").empty());
  EXPECT_TRUE(platform::RegistryKeyExists(RegistryRoot::LocalMachine, AppKey("Someone Else")));
}

}  // namespace
