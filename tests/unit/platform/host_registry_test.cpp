#include "platform/host/host_registry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/folders_known.h"
#include "platform/host/host_control.h"
#include "platform/host/host_state.h"
#include "platform/registry.h"
#include "support/sandbox.h"

namespace {

using platform::RegistryRoot;
using platform::RegistryValue;
using platform::RegistryValueType;

class HostRegistryTest : public SandboxTest {
 protected:
  void SetUp() override {
    SandboxTest::SetUp();
    host::ResetRegistry();
    host::ResetSystemFacts();
  }
  void TearDown() override {
    host::State().persistRegistry = false;
    host::ResetRegistry();
    SandboxTest::TearDown();
  }
  void WriteHostFile(const std::string& name, const std::string& text) const {
    std::filesystem::create_directories(root_ + "/host");
    std::ofstream(root_ + "/host/" + name, std::ios::binary) << text;
  }
  std::string SavedRegistry() const {
    std::ifstream in(host::RegistryFilePath(), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
};

std::string Read(RegistryRoot root, const std::string& path, const std::string& name) {
  auto value = platform::RegistryReadValue(root, path, name);
  return value ? value->data : "<missing>";
}

// Every kind of value, with the text escapes and the default value, survives export and import
// byte for byte, and the export is stable.
TEST_F(HostRegistryTest, FileRoundTripKeepsEveryValueType) {
  const struct {
    const char* name;
    RegistryValue value;
  } values[] = {
      {"", {RegistryValueType::String, "default"}},
      {"Path", {RegistryValueType::String, "C:\\Program Files\\App\\"}},
      {"Quote \"q\" \\", {RegistryValueType::String, "say \"hi\" \\\\server"}},
      {"Empty", {RegistryValueType::String, ""}},
      {"Lines", {RegistryValueType::String, std::string("a\r\nb\0c", 6)}},
      {"Expand", {RegistryValueType::ExpandString, "%TEMP%\\x"}},
      {"Multi", {RegistryValueType::MultiString, std::string("one\0two\0", 8)}},
      {"Count", {RegistryValueType::DWord, std::string("\x2a\0\0\x80", 4)}},
      {"Short", {RegistryValueType::DWord, std::string("\x01\x02", 2)}},
      {"Blob", {RegistryValueType::Binary, std::string("\0\x01\xff", 3)}},
      {"NoData", {RegistryValueType::Binary, ""}},
      {"None", {RegistryValueType::None, "x"}},
      {"QWord", {static_cast<RegistryValueType>(11), std::string(8, '\x07')}},
      {"Latin", {RegistryValueType::String, "caf\xe9"}},
  };
  host::ClearRegistry();
  for (const auto& entry : values)
    host::RegistrySetValue(RegistryRoot::CurrentUser, "Software\\Round", entry.name, entry.value);
  host::RegistrySetValue(RegistryRoot::ClassesRoot, "", "RootValue", host::RegistryString("r"));
  std::string text = host::RegistryExport();

  host::ClearRegistry();
  std::string error;
  ASSERT_TRUE(host::RegistryImport(text, &error)) << error << "\n" << text;
  for (const auto& entry : values) {
    auto read =
        platform::RegistryReadValue(RegistryRoot::CurrentUser, "Software\\Round", entry.name);
    ASSERT_TRUE(read) << entry.name;
    EXPECT_EQ(read->type, entry.value.type) << entry.name;
    EXPECT_EQ(read->data, entry.value.data) << entry.name;
  }
  EXPECT_EQ(Read(RegistryRoot::ClassesRoot, "", "RootValue"), "r");
  EXPECT_EQ(host::RegistryExport(), text);
}

TEST_F(HostRegistryTest, ExportWritesTheRegeditForms) {
  host::ClearRegistry();
  host::RegistrySetValue(RegistryRoot::LocalMachine, "SOFTWARE\\X", "", host::RegistryString("d"));
  host::RegistrySetValue(RegistryRoot::LocalMachine, "SOFTWARE\\X", "P",
                         host::RegistryString("C:\\a \"b\""));
  host::RegistrySetValue(RegistryRoot::LocalMachine, "SOFTWARE\\X", "N", host::RegistryDWord(42));
  host::RegistrySetValue(RegistryRoot::LocalMachine, "SOFTWARE\\X", "B",
                         {RegistryValueType::Binary, "\x01\x02"});
  host::RegistrySetValue(RegistryRoot::LocalMachine, "SOFTWARE\\X", "E",
                         host::RegistryString("%A%", RegistryValueType::ExpandString));
  host::RegistryCreateKey(RegistryRoot::Users, ".DEFAULT");
  EXPECT_EQ(host::RegistryExport(),
            "REGEDIT4\n\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE]\n\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\X]\n"
            "@=\"d\"\n"
            "\"P\"=\"C:\\\\a \\\"b\\\"\"\n"
            "\"N\"=dword:0000002a\n"
            "\"B\"=hex:01,02\n"
            "\"E\"=hex(2):25,41,25,00\n\n"
            "[HKEY_USERS\\.DEFAULT]\n\n");
}

// Files written by hand: abbreviations, comments, CRLF, wrapped hex, deletions, upper-case hex.
TEST_F(HostRegistryTest, ImportReadsHandWrittenFiles) {
  std::string error;
  ASSERT_TRUE(
      host::RegistryImport("REGEDIT4\r\n"
                           "; seeds for a test\r\n"
                           "[HKLM\\SOFTWARE\\Seed\\]\r\n"
                           "\"Data\" = hex:0A,0b,\\\r\n"
                           "  0c\r\n"
                           "\"N\"=dword:FF\r\n"
                           "\"Gone\"=\"x\"\r\n"
                           "\"Gone\"=-\r\n"
                           "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Internet Explorer]\r\n"
                           "[-HKEY_CURRENT_USER\\Never\\There]\r\n",
                           &error))
      << error;
  EXPECT_EQ(Read(RegistryRoot::LocalMachine, "SOFTWARE\\Seed", "Data"), "\x0a\x0b\x0c");
  EXPECT_EQ(Read(RegistryRoot::LocalMachine, "SOFTWARE\\Seed", "N"), std::string("\xff\0\0\0", 4));
  EXPECT_EQ(Read(RegistryRoot::LocalMachine, "SOFTWARE\\Seed", "Gone"), "<missing>");
  EXPECT_FALSE(platform::RegistryKeyExists(RegistryRoot::LocalMachine,
                                           "SOFTWARE\\Microsoft\\Internet Explorer"));
  // What the import did not name stays: it is applied over the machine, as regedit does.
  EXPECT_EQ(Read(RegistryRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                 "ProgramFilesDir"),
            "C:\\Program Files");
}

TEST_F(HostRegistryTest, MalformedLinesAreRejectedWithTheirNumberAndChangeNothing) {
  const struct {
    const char* text;
    const char* error;
  } cases[] = {
      {"[HKLM\\A]\n\"P\"=\"C:\\Windows\"\n", "line 2: unknown escape \\W"},
      {"\"P\"=\"x\"\n", "line 1: a value before any key"},
      {"[HKEY_NOWHERE\\A]\n", "line 1: unknown root"},
      {"[HKLM\\A\\\\B]\n", "line 1: malformed key path"},
      {"[HKLM\\A]\n\n\"P\"=\"open\n", "line 3: missing closing quote"},
      {"[HKLM\\A]\n\"P\"=\"x\" y\n", "line 2: text after the closing quote"},
      {"[HKLM\\A]\n\"N\"=dword:123456789\n", "line 2: dword:"},
      {"[HKLM\\A]\n\"B\"=hex:1,2g\n", "line 2: hex bytes"},
      {"[HKLM\\A]\n\"B\"=hex(z):00\n", "line 2: hex(N)"},
      {"[HKLM\\A]\n\"B\"=word:1\n", "line 2: unknown value data"},
      {"[HKLM\\A]\nP=1\n", "line 2: expected [KEY]"},
      {"[HKLM\\A]\n\"P\"\n", "line 2: expected ="},
      {"[HKLM\\A] x\n", "line 1: a key line ends with ]"},
  };
  for (const auto& c : cases) {
    host::ResetRegistry();
    std::string before = host::RegistryExport();
    std::string error;
    EXPECT_FALSE(host::RegistryImport(c.text, &error)) << c.text;
    EXPECT_EQ(error.rfind(c.error, 0), 0u) << c.text << " gave " << error;
    EXPECT_EQ(host::RegistryExport(), before) << c.text;
  }
}

TEST_F(HostRegistryTest, NamesCompareWithoutCaseAndKeepTheirFirstSpelling) {
  ASSERT_TRUE(platform::RegistryCreateKey(RegistryRoot::CurrentUser, "Software\\MyApp"));
  bool created = true;
  ASSERT_TRUE(platform::RegistryCreateKey(RegistryRoot::CurrentUser, "SOFTWARE\\MYAPP", &created));
  EXPECT_FALSE(created);
  ASSERT_TRUE(platform::RegistryWriteValue(RegistryRoot::CurrentUser, "software\\myapp", "Value",
                                           host::RegistryString("1")));
  ASSERT_TRUE(platform::RegistryWriteValue(RegistryRoot::CurrentUser, "Software\\MyApp", "VALUE",
                                           host::RegistryString("2")));
  EXPECT_EQ(Read(RegistryRoot::CurrentUser, "SoftWare\\myAPP", "value"), "2");
  EXPECT_NE(host::RegistryExport().find("[HKEY_CURRENT_USER\\Software\\MyApp]\n\"Value\"=\"2\"\n"),
            std::string::npos);
  // Only ASCII letters fold; other bytes must match exactly.
  host::RegistrySetValue(RegistryRoot::CurrentUser, "Software\\\xe9t\xe9", "x", {});
  EXPECT_TRUE(platform::RegistryKeyExists(RegistryRoot::CurrentUser, "Software\\\xe9T\xe9"));
  EXPECT_FALSE(platform::RegistryKeyExists(RegistryRoot::CurrentUser, "Software\\\xc9t\xe9"));
}

TEST_F(HostRegistryTest, SubkeysEnumerateInCreationOrderAlsoAfterAFileRoundTrip) {
  for (const char* name : {"v4", "v2.0.50727", "v3.5", "v1.1.4322"})
    host::RegistryCreateKey(RegistryRoot::LocalMachine,
                            std::string("SOFTWARE\\Microsoft\\NET Framework Setup\\NDP\\") + name);
  const std::vector<std::string> expected = {"v4", "v2.0.50727", "v3.5", "v1.1.4322"};
  const char* key = "SOFTWARE\\Microsoft\\NET Framework Setup\\NDP";
  EXPECT_EQ(platform::RegistrySubkeyNames(RegistryRoot::LocalMachine, key), expected);
  std::string text = host::RegistryExport();
  host::ClearRegistry();
  ASSERT_TRUE(host::RegistryImport(text));
  EXPECT_EQ(platform::RegistrySubkeyNames(RegistryRoot::LocalMachine, key), expected);
  EXPECT_TRUE(
      platform::RegistrySubkeyNames(RegistryRoot::LocalMachine, "SOFTWARE\\Nothing").empty());
}

TEST_F(HostRegistryTest, PathsWithLeadingOrDoubledBackslashesAreMalformed) {
  host::RegistryCreateKey(RegistryRoot::CurrentUser, "Software\\A");
  const struct {
    const char* path;
    bool found;
  } cases[] = {
      {"Software\\A", true},    {"Software\\A\\", true},  {"", true},
      {"\\Software\\A", false}, {"Software\\\\A", false}, {"Software\\A\\\\", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(platform::RegistryKeyExists(RegistryRoot::CurrentUser, c.path), c.found) << c.path;
    EXPECT_EQ(platform::RegistryCreateKey(RegistryRoot::CurrentUser, c.path), c.found) << c.path;
  }
}

TEST_F(HostRegistryTest, WritesFollowTheSystemsRules) {
  const RegistryRoot hkcu = RegistryRoot::CurrentUser;
  bool created = false;
  ASSERT_TRUE(platform::RegistryCreateKey(hkcu, "Software\\Co\\App\\Sub", &created));
  EXPECT_TRUE(created);
  ASSERT_TRUE(platform::RegistryCreateKey(hkcu, "Software\\Co", &created));
  EXPECT_FALSE(created);
  EXPECT_FALSE(platform::RegistryWriteValue(hkcu, "Software\\Missing", "v", {}));
  EXPECT_FALSE(platform::RegistryKeyExists(hkcu, "Software\\Missing"));
  ASSERT_TRUE(platform::RegistryWriteValue(hkcu, "Software\\Co\\App", "v", host::RegistryDWord(7)));
  EXPECT_TRUE(platform::RegistryDeleteValue(hkcu, "Software\\Co\\App", "V"));
  EXPECT_FALSE(platform::RegistryDeleteValue(hkcu, "Software\\Co\\App", "v"));
  EXPECT_FALSE(platform::RegistryDeleteValue(hkcu, "Software\\Nope", "v"));
  // A key goes with its whole subtree; the roots stay.
  EXPECT_TRUE(platform::RegistryDeleteKey(hkcu, "software\\co"));
  EXPECT_FALSE(platform::RegistryKeyExists(hkcu, "Software\\Co\\App\\Sub"));
  EXPECT_TRUE(platform::RegistryKeyExists(hkcu, "Software"));
  EXPECT_FALSE(platform::RegistryDeleteKey(hkcu, "Software\\Co"));
  EXPECT_FALSE(platform::RegistryDeleteKey(hkcu, ""));
}

// The variables read these values; they must name the same folders as the shell does.
TEST_F(HostRegistryTest, DefaultMachineAgreesWithTheSpecialFolders) {
  const char* user = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
  const char* machine = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
  const struct {
    RegistryRoot root;
    const char* name;
    int csidl;
  } cases[] = {
      {RegistryRoot::CurrentUser, "AppData", 26},
      {RegistryRoot::CurrentUser, "Local AppData", 28},
      {RegistryRoot::CurrentUser, "Local Settings", 28},
      {RegistryRoot::CurrentUser, "Desktop", 0},
      {RegistryRoot::CurrentUser, "Personal", 5},
      {RegistryRoot::CurrentUser, "Programs", 2},
      {RegistryRoot::CurrentUser, "Start Menu", 11},
      {RegistryRoot::CurrentUser, "Startup", 7},
      {RegistryRoot::CurrentUser, "SendTo", 9},
      {RegistryRoot::CurrentUser, "Templates", 21},
      {RegistryRoot::LocalMachine, "Common AppData", 35},
      {RegistryRoot::LocalMachine, "Common Desktop", 25},
      {RegistryRoot::LocalMachine, "Common Documents", 46},
      {RegistryRoot::LocalMachine, "Common Programs", 23},
      {RegistryRoot::LocalMachine, "Common Start Menu", 22},
      {RegistryRoot::LocalMachine, "Common Startup", 24},
      {RegistryRoot::LocalMachine, "Common Templates", 45},
  };
  for (const auto& c : cases) {
    const char* key = c.root == RegistryRoot::CurrentUser ? user : machine;
    auto value = platform::RegistryReadValue(c.root, key, c.name);
    ASSERT_TRUE(value) << c.name;
    EXPECT_EQ(value->type, RegistryValueType::String) << c.name;
    EXPECT_EQ(value->data, platform::SpecialFolderPath(c.csidl)) << c.name;
  }
  EXPECT_EQ(Read(RegistryRoot::LocalMachine, "SOFTWARE\\Microsoft\\Internet Explorer", "Version"),
            "8.0.7601.17514");
  EXPECT_EQ(Read(RegistryRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                 "CommonFilesDir"),
            "C:\\Program Files\\Common Files");
  EXPECT_NE(Read(RegistryRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
                 "RegisteredOwner"),
            "<missing>");
}

TEST_F(HostRegistryTest, TheFileIsLoadedOverTheDefaultAndKeptCurrentAfterEachChange) {
  WriteHostFile("registry.reg",
                "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Seeded]\n\"Name\"=\"seed\"\n");
  std::string error;
  ASSERT_TRUE(host::LoadHostConfiguration(&error)) << error;
  EXPECT_EQ(Read(RegistryRoot::CurrentUser, "Software\\Seeded", "Name"), "seed");
  EXPECT_TRUE(platform::RegistryKeyExists(RegistryRoot::LocalMachine,
                                          "SOFTWARE\\Microsoft\\Internet Explorer"));

  host::State().persistRegistry = true;
  ASSERT_TRUE(platform::RegistryWriteValue(RegistryRoot::CurrentUser, "Software\\Seeded", "New",
                                           host::RegistryDWord(1)));
  std::string saved = SavedRegistry();
  EXPECT_EQ(saved, host::RegistryExport());
  EXPECT_NE(saved.find("\"New\"=dword:00000001"), std::string::npos);
  ASSERT_TRUE(platform::RegistryDeleteKey(RegistryRoot::CurrentUser, "Software\\Seeded"));
  EXPECT_EQ(SavedRegistry().find("Seeded"), std::string::npos);
}

TEST_F(HostRegistryTest, AMalformedFileIsReportedWithItsPathAndLine) {
  WriteHostFile("registry.reg", "REGEDIT4\n[HKLM\\A]\n\"x\"=dword:zz\n");
  std::string error;
  EXPECT_FALSE(host::LoadHostConfiguration(&error));
  EXPECT_NE(error.find("registry.reg: line 3: dword:"), std::string::npos) << error;
  EXPECT_FALSE(platform::RegistryKeyExists(RegistryRoot::LocalMachine, "A"));
}

}  // namespace
