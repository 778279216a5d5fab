// The probes' decisions over raw facts: version subkey names, token groups, process names.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "system/decimal_text.h"
#include "system/group_membership.h"
#include "system/process_search.h"
#include "system/product_versions.h"
#include "system/registered_user.h"
#include "system/registry_string.h"

namespace {

struct DecimalCase {
  const char* text;
  std::optional<double> value;
};

const DecimalCase kDecimalCases[] = {
    {"2.0", 2.0},          {"3.5", 3.5},          {"1.1", 1.1},
    {"0.0", 0.0},          {"12.25", 12.25},      {"7", 7.0},
    {"5.", 5.0},           {".5", 0.5},           {" 3.5", 3.5},
    {"3.5 ", 3.5},         {"+1.5", 1.5},         {"-1.5", -1.5},
    {"", std::nullopt},    {".", std::nullopt},   {" ", std::nullopt},
    {"+.", std::nullopt},  {"1,5", std::nullopt}, {"1.5.0", std::nullopt},
    {"4.x", std::nullopt}, {"a.0", std::nullopt}, {"1 .5", std::nullopt},
    {"--1", std::nullopt}, {"1e5", std::nullopt},
};

TEST(ParseDecimalTextTest, ReadsAPointAsTheDecimalSeparator) {
  for (const DecimalCase& c : kDecimalCases) {
    SCOPED_TRACE(c.text);
    std::optional<double> value = ParseDecimalText(c.text);
    ASSERT_EQ(value.has_value(), c.value.has_value());
    if (value) {
      EXPECT_DOUBLE_EQ(*value, *c.value);
    }
  }
}

struct BestVersionCase {
  std::vector<std::string> subkeys;
  const char* best;
};

const BestVersionCase kDotNetCases[] = {
    {{}, "0.0"},
    {{"v1.1.4322", "v2.0.50727", "v3.5", "v4"}, "3.5"},
    {{"v1.1.4322", "v2.0.50727", "v3.5", "v4", "v4.0"}, "4.0"},
    {{"v4.0", "v3.5"}, "4.0"},
    {{"V2.0.50727"}, "2.0"},
    {{"v3.0"}, "3.0"},
    {{"v3."}, "0.0"},  // three characters are too short
    {{"v4"}, "0.0"},
    {{"v10.0"}, "0.0"},  // third character is not a point
    {{"x3.5"}, "0.0"},
    {{"1.1.4322"}, "0.0"},
    {{"CDF", "v2.0.50727"}, "2.0"},
    {{"va.b"}, "0.0"},  // does not convert
    {{"v0.0"}, "0.0"},  // not greater than the start
    {{"v3.x", "v2.0"}, "2.0"},
    {{"v3. x"}, "3. "},  // converts with its trailing blank, kept as found
    {{"v1.1", "v3.5", "v2.0"}, "3.5"},
};

TEST(BestDotNetVersionTest, TakesTheHighestVersionSubkey) {
  for (const BestVersionCase& c : kDotNetCases) {
    SCOPED_TRACE(::testing::PrintToString(c.subkeys));
    EXPECT_EQ(BestDotNetVersion(c.subkeys), c.best);
  }
}

TEST(BestDotNetVersionTest, OfEqualValuesTheFirstSeenWins) {
  EXPECT_EQ(BestDotNetVersion({"v3. 5", "v3.0"}), "3. ");
  EXPECT_EQ(BestDotNetVersion({"v3.0", "v3. 5"}), "3.0");
}

const BestVersionCase kPlainCases[] = {
    {{}, "0.0"},
    {{"10.0"}, "0.0"},
    {{"8.0"}, "8.0"},
    {{"1.6.0_20"}, "1.6"},
    {{"1.4", "1.6", "1.6.0_20", "1.5"}, "1.6"},
    {{"9.0", "10.0", "7.0"}, "9.0"},
    {{"1."}, "0.0"},
    {{"v1.6"}, "0.0"},
    {{"a.b", "1.2"}, "1.2"},
    {{"0.5"}, "0.5"},
};

TEST(BestPlainVersionTest, TakesTheHighestVersionSubkey) {
  for (const BestVersionCase& c : kPlainCases) {
    SCOPED_TRACE(::testing::PrintToString(c.subkeys));
    EXPECT_EQ(BestPlainVersion(c.subkeys), c.best);
  }
}

TEST(BestPlainVersionTest, OfEqualValuesTheFirstSeenWins) {
  EXPECT_EQ(BestPlainVersion({"1. ", "1.0"}), "1. ");
  EXPECT_EQ(BestPlainVersion({"+.5", "0.5"}), "+.5");
}

struct GroupCase {
  const char* description;
  std::vector<platform::TokenGroup> groups;
  uint32_t rid;
  bool member;
};

const GroupCase kGroupCases[] = {
    {"no groups", {}, 544, false},
    {"enabled", {{"S-1-5-32-544", 0x07}}, 544, true},
    {"enabled only", {{"S-1-5-32-544", 0x04}}, 544, true},
    {"not enabled", {{"S-1-5-32-544", 0x03}}, 544, false},
    {"deny-only", {{"S-1-5-32-544", 0x10}}, 544, false},
    {"deny-only though enabled", {{"S-1-5-32-544", 0x14}}, 544, false},
    {"other group", {{"S-1-5-32-545", 0x07}}, 544, false},
    {"prefix of another group", {{"S-1-5-32-5440", 0x07}}, 544, false},
    {"other authority", {{"S-1-5-21-544", 0x07}}, 544, false},
    {"deny-only then enabled", {{"S-1-5-32-544", 0x10}, {"S-1-5-32-544", 0x07}}, 544, true},
    {"among others",
     {{"S-1-1-0", 0x07}, {"S-1-5-32-545", 0x07}, {"S-1-5-32-547", 0x0F}},
     547,
     true},
    {"other attribute bits do not matter", {{"S-1-5-32-547", 0xC0000004}}, 547, true},
};

TEST(MemberByTokenGroupsTest, NeedsAnEnabledNotDenyOnlyGroup) {
  for (const GroupCase& c : kGroupCases) {
    SCOPED_TRACE(c.description);
    EXPECT_EQ(MemberByTokenGroups(c.groups, c.rid), c.member);
  }
}

TEST(BuiltinGroupSidTest, NamesTheBuiltinDomain) {
  EXPECT_EQ(BuiltinGroupSid(544), "S-1-5-32-544");
  EXPECT_EQ(BuiltinGroupSid(547), "S-1-5-32-547");
}

struct NameCase {
  const char* program;
  uint32_t platformId;
  const char* name;
};

const NameCase kNameCases[] = {
    {"C:\\Program Files\\App\\App.exe", 2, "App.exe"},
    {"C:App.exe", 2, "App.exe"},
    {"App.exe", 2, "App.exe"},
    {"C:\\dir:odd\\x.exe", 2, "x.exe"},
    {"C:\\dir\\x:stream", 2, "stream"},
    {"C:\\dir\\", 2, ""},
    {"", 2, ""},
    {"C:\\Program Files\\App\\App.exe", 1, "C:\\Program Files\\App\\App.exe"},
    {"App.exe", 1, "App.exe"},
    {"C:\\Program Files\\App\\App.exe", 0, ""},
    {"App.exe", 3, ""},
};

TEST(ProcessNameToMatchTest, DependsOnThePlatform) {
  for (const NameCase& c : kNameCases) {
    SCOPED_TRACE(std::string(c.program) + " on platform " + std::to_string(c.platformId));
    EXPECT_EQ(ProcessNameToMatch(c.program, c.platformId), c.name);
  }
}

TEST(FindProcessInTest, ComparesInUpperCaseAndTakesTheFirst) {
  const std::vector<platform::ProcessEntry> entries = {
      {4, "System"}, {120, "app.exe"}, {130, "APP.EXE"}, {140, ""}};
  EXPECT_EQ(FindProcessIn(entries, "App.exe"), 120);
  EXPECT_EQ(FindProcessIn(entries, "SYSTEM"), 4);
  EXPECT_EQ(FindProcessIn(entries, "app"), -1);
  EXPECT_EQ(FindProcessIn(entries, "app.exe "), -1);
  EXPECT_EQ(FindProcessIn(entries, ""), 140);
  EXPECT_EQ(FindProcessIn({}, "app.exe"), -1);
}

TEST(FindProcessInTest, ReportsTheFullProcessId) {
  EXPECT_EQ(FindProcessIn({{0xFFFFFFF0u, "a.exe"}}, "A.EXE"), int64_t{0xFFFFFFF0u});
}

TEST(RegisteredUserTest, KeyAndValueName) {
  EXPECT_EQ(RegisteredUserKey(2), "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion");
  EXPECT_EQ(RegisteredUserKey(1), "SOFTWARE\\Microsoft\\Windows\\CurrentVersion");
  EXPECT_EQ(RegisteredUserKey(0), "SOFTWARE\\Microsoft\\Windows\\CurrentVersion");
  EXPECT_EQ(RegisteredUserValueName("user"), "RegisteredOwner");
  EXPECT_EQ(RegisteredUserValueName("company"), "RegisteredOrganization");
  for (const char* kind : {"", "User", "COMPANY", "user ", "owner"})
    EXPECT_EQ(RegisteredUserValueName(kind), "") << kind;
}

TEST(TextOfValueTest, TakesOnlyStringTypes) {
  using platform::RegistryValueType;
  EXPECT_EQ(TextOfValue(std::nullopt), std::nullopt);
  EXPECT_EQ(TextOfValue(platform::RegistryValue{RegistryValueType::String, "8.0"}), "8.0");
  EXPECT_EQ(TextOfValue(platform::RegistryValue{RegistryValueType::ExpandString, "x"}), "x");
  EXPECT_EQ(
      TextOfValue(platform::RegistryValue{RegistryValueType::String, std::string("10\0z", 4)}),
      "10");
  EXPECT_EQ(TextOfValue(platform::RegistryValue{RegistryValueType::String, ""}), "");
  EXPECT_EQ(TextOfValue(platform::RegistryValue{RegistryValueType::DWord, "10\0\0"}), std::nullopt);
  EXPECT_EQ(TextOfValue(platform::RegistryValue{RegistryValueType::Binary, "10"}), std::nullopt);
  EXPECT_EQ(
      TextOfValue(platform::RegistryValue{RegistryValueType::MultiString, std::string("10\0", 3)}),
      std::nullopt);
}

}  // namespace
