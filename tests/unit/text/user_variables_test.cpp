#include "text/user_variables.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/run_state.h"
#include "platform/host/host_control.h"
#include "text/variables.h"
#include "text_fixture.h"

namespace {

using platform::RegistryRoot;
using platform::RegistryValue;
using platform::RegistryValueType;

TEST(SplitUserVariableFields, SixFieldsAtTheTwoCharacterSeparator) {
  const struct {
    const char* entry;
    std::vector<std::string> fields;
  } cases[] = {
      {"N*?R*?K*?V*?T*?D", {"N", "R", "K", "V", "T", "D"}},
      {"N*?R*?K*?V*?T", {"N", "R", "K", "V", "T", ""}},
      {"N*?R*?K*?V*?T*?", {"N", "R", "K", "V", "T", ""}},
      {"N*?R*?K", {"N", "R", "K", "", "", ""}},
      {"N", {"N", "", "", "", "", ""}},
      {"", {"", "", "", "", "", ""}},
      // Fields after the sixth are not part of the entry.
      {"N*?R*?K*?V*?T*?D*?more*?again", {"N", "R", "K", "V", "T", "D"}},
      // A lone '*' or '?' is part of a field.
      {"N?x*?R*K*?K?*?V", {"N?x", "R*K", "K?", "V", "", ""}},
      {"*?*?*?", {"", "", "", "", "", ""}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitUserVariableFields(c.entry), c.fields) << c.entry;
}

TEST(UserVariableRoot, OnlyTheExactRootNamesSelectARoot) {
  EXPECT_EQ(UserVariableRoot("HKEY_CLASSES_ROOT"), RegistryRoot::ClassesRoot);
  EXPECT_EQ(UserVariableRoot("HKEY_CURRENT_USER"), RegistryRoot::CurrentUser);
  EXPECT_EQ(UserVariableRoot("HKEY_LOCAL_MACHINE"), RegistryRoot::LocalMachine);
  EXPECT_EQ(UserVariableRoot("HKEY_USERS"), RegistryRoot::Users);
  for (const char* other :
       {"hkey_local_machine", "HKLM", "HKEY_LOCAL_MACHINE ", "", "HKEY_USERS\\"})
    EXPECT_EQ(UserVariableRoot(other), RegistryRoot::CurrentUser) << other;
}

class UserVariablesTest : public TextTest {
 protected:
  void SetUp() override {
    TextTest::SetUp();
    UseScript("[Setup]\r\nAppName=Demo\r\n");
    host::ClearRegistry();
    Set(RegistryRoot::CurrentUser, "Str", host::RegistryString("C:\\Data\\"));
    Set(RegistryRoot::CurrentUser, "Exp",
        host::RegistryString("%ProgramFiles%\\x", RegistryValueType::ExpandString));
    Set(RegistryRoot::CurrentUser, "Num", host::RegistryDWord(42));
    Set(RegistryRoot::CurrentUser, "Neg", host::RegistryDWord(0xFFFFFFFF));
    Set(RegistryRoot::CurrentUser, "Bin", RegistryValue{RegistryValueType::Binary, "\x01\x02"});
    Set(RegistryRoot::CurrentUser, "Nothing", RegistryValue{RegistryValueType::Binary, ""});
    Set(RegistryRoot::CurrentUser, "Wide",
        RegistryValue{RegistryValueType::DWord, std::string("\x01\x00\x00\x00\x00", 5)});
    Set(RegistryRoot::CurrentUser, "Demo", host::RegistryDWord(7));
    Set(RegistryRoot::CurrentUser, "Var", host::RegistryString("<AppName> data"));
    Set(RegistryRoot::CurrentUser, "", host::RegistryString("default of key"));
    Set(RegistryRoot::LocalMachine, "Str", host::RegistryString("machine"));
  }

  void Set(RegistryRoot root, const std::string& name, const RegistryValue& value) {
    ASSERT_TRUE(host::RegistrySetValue(root, "Software\\Demo", name, value));
  }

  // The value the entry defines (the list entry after its first '?').
  std::string Define(const std::string& entry) {
    std::vector<std::string>& list = ::Run().UserVariables;
    size_t before = list.size();
    AddUserVariable(entry);
    EXPECT_EQ(list.size(), before + 1) << entry;
    const std::string& added = list.back();
    size_t separator = added.find('?');
    EXPECT_NE(separator, std::string::npos) << entry;
    return separator == std::string::npos ? added : added.substr(separator + 1);
  }
};

TEST_F(UserVariablesTest, ReadsStringsAndIntegersOrKeepsTheDefault) {
  const struct {
    const char* entry;
    const char* value;
  } cases[] = {
      {"<V>*?HKEY_CURRENT_USER*?Software\\Demo*?Str*?STRING*?def", "C:\\Data\\"},
      {"<V>*?HKEY_CURRENT_USER*?Software\\Demo*?Exp*?STRING*?def", "%ProgramFiles%\\x"},
      {"<V>*?HKEY_CURRENT_USER*?Software\\Demo*?Num*?DWORD*?def", "42"},
      {"<V>*?HKEY_CURRENT_USER*?Software\\Demo*?Neg*?INTEGER*?def", "-1"},
      {"<V>*?HKEY_CURRENT_USER*?Software\\Demo*?*?STRING*?def", "default of key"},
      {"<V>*?HKEY_LOCAL_MACHINE*?Software\\Demo*?Str*?STRING*?def", "machine"},
      // Root names are case-sensitive: anything else reads the current user's key.
      {"<V>*?hkey_local_machine*?Software\\Demo*?Str*?STRING*?def", "C:\\Data\\"},
      {"<V>*?HKLM*?Software\\Demo*?Str*?STRING*?def", "C:\\Data\\"},
      // Only "STRING" reads a string; a value of another type keeps the default.
      {"<V>*?HKEY_CURRENT_USER*?Software\\Demo*?Str*?string*?def", "def"},
      {"<V>*?HKEY_CURRENT_USER*?Software\\Demo*?Str*?DWORD*?def", "def"},
      {"<V>*?HKEY_CURRENT_USER*?Software\\Demo*?Num*?STRING*?def", "def"},
      {"<V>*?HKEY_CURRENT_USER*?Software\\Demo*?Bin*?STRING*?def", "def"},
      {"<V>*?HKEY_CURRENT_USER*?Software\\Demo*?Bin*?DWORD*?def", "def"},
      {"<V>*?HKEY_CURRENT_USER*?Software\\Demo*?Wide*?DWORD*?def", "def"},
      // A value without data reads as an empty string, not as an error.
      {"<V>*?HKEY_CURRENT_USER*?Software\\Demo*?Nothing*?STRING*?def", ""},
      // Missing value or key: the default, expanded; with five fields it is empty.
      {"<V>*?HKEY_CURRENT_USER*?Software\\Demo*?Missing*?STRING*?<AppName>-1", "Demo-1"},
      {"<V>*?HKEY_CURRENT_USER*?Software\\Gone*?Str*?STRING*?def", "def"},
      {"<V>*?HKEY_CURRENT_USER*?Software\\Demo*?Missing*?STRING", ""},
      // Key path and value name are expanded before use.
      {"<V>*?HKEY_CURRENT_USER*?Software\\<AppName>*?<AppName>*?DWORD*?def", "7"},
      {"<V>*?HKEY_CURRENT_USER*?Software\\<appname>*?Num*?DWORD*?def", "42"},
      // Fewer than five fields: the missing type reads an integer.
      {"<V>*?HKEY_CURRENT_USER*?Software\\Demo*?Num", "42"},
      {"<V>", ""},
      // The default may contain '?', and the text is stored as read, not expanded.
      {"<V>*?HKEY_CURRENT_USER*?Software\\Demo*?Missing*?STRING*?a?b", "a?b"},
      {"<V>*?HKEY_CURRENT_USER*?Software\\Demo*?Var*?STRING*?def", "<AppName> data"},
  };
  for (const auto& c : cases) EXPECT_EQ(Define(c.entry), c.value) << c.entry;
}

TEST_F(UserVariablesTest, NameIsKeptAsWrittenAndValuesAreExpandedWhenUsed) {
  AddUserVariable("<Data>*?HKEY_CURRENT_USER*?Software\\Demo*?Var*?STRING");
  AddUserVariable("Plain*?HKEY_CURRENT_USER*?Software\\Demo*?Num*?DWORD");
  AddUserVariable("<Q>*?HKEY_CURRENT_USER*?Software\\Demo*?Missing*?STRING*?x?y");
  EXPECT_EQ(::Run().UserVariables,
            (std::vector<std::string>{"<Data>?<AppName> data", "Plain?42", "<Q>?x?y"}));
  EXPECT_EQ(ExpandVariables("<data>|<Q>"), "Demo data|x?y");
  // "Plain" has no brackets, so it is replaced wherever the word stands.
  EXPECT_EQ(ExpandVariables("Plain <PLAIN>"), "42 <42>");
}

TEST_F(UserVariablesTest, AnEntrySeesOnlyTheVariablesDefinedBeforeIt) {
  Set(RegistryRoot::CurrentUser, "Key", host::RegistryString("Software\\Demo"));
  AddUserVariable("<Second>*?HKEY_CURRENT_USER*?<First>*?Num*?DWORD*?none");
  AddUserVariable("<First>*?HKEY_CURRENT_USER*?Software\\Demo*?Key*?STRING");
  AddUserVariable("<Third>*?HKEY_CURRENT_USER*?<First>*?Num*?DWORD*?none");
  EXPECT_EQ(ExpandVariables("<Second>|<Third>"), "none|42");
}

TEST_F(UserVariablesTest, TheFirstOfTwoEqualNamesWins) {
  AddUserVariable("<Dup>*?HKEY_CURRENT_USER*?Software\\Demo*?Missing*?STRING*?first");
  AddUserVariable("<DUP>*?HKEY_CURRENT_USER*?Software\\Demo*?Missing*?STRING*?second");
  EXPECT_EQ(ExpandVariables("<dup>"), "first");
}

}  // namespace
