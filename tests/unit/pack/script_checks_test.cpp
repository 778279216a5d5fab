#include "pack/script_checks.h"

#include <gtest/gtest.h>

#include <string>

#include "pack/ini_value.h"
#include "pack/script_names.h"

namespace pack {
namespace {

TEST(CountFieldsTest, CutsAsTheSetupProgramDoes) {
  const std::tuple<std::string, std::string, size_t> cases[] = {
      {"", "*?", 0},       {"a", "*?", 1},       {"*?", "*?", 1},     {"a*?", "*?", 1},
      {"a*?b", "*?", 2},   {"a*?*?", "*?", 2},   {"a*?*?b", "*?", 3}, {"a?b*?c", "*?", 2},
      {"a?b?c?d", "?", 4}, {"a?b?c?d?", "?", 4}, {"??", "?", 2},
  };
  for (const auto& [value, separator, count] : cases) {
    EXPECT_EQ(CountFields(value, separator), count) << value;
  }
}

TEST(NearMissTest, NamesLikelyMisspellings) {
  const std::vector<std::string_view>& keys = KnownSetupKeys();
  const std::pair<std::string, std::string> cases[] = {
      {"DialogWelcom", "DialogWelcome"},
      {"dialogwelcom", "DialogWelcome"},
      {"DialgoReady", "DialogReady"},  // two letters swapped
      {"LaunchFilename", "LaunchFileName"},
      {"InstalationPath", "InstallationPath"},
      {"FileCount", "FilesCount"},
      {"Win8", "Win7"},
      {"Colour", ""},
      {"SomethingElse", ""},
      {"Q", ""},
  };
  for (const auto& [word, expected] : cases) {
    EXPECT_EQ(NearMiss(word, keys), expected) << word;
  }
  const std::vector<std::string_view> sections = KnownSectionNames();
  EXPECT_EQ(NearMiss("Shortcut", sections), "Shortcuts");
  EXPECT_EQ(NearMiss("Registery", sections), "Registry");
  EXPECT_EQ(NearMiss("Variable", sections), "Variables");
  EXPECT_EQ(NearMiss("Messages", sections), "");
}

TEST(IniValueTest, ReadsAsTheSetupProgram) {
  EXPECT_EQ(IniValue("  \"quoted\"  "), "quoted");
  EXPECT_EQ(IniValue(" 'a' "), "a");
  EXPECT_EQ(IniValue("\"a'"), "\"a'");
  EXPECT_EQ(IniValue("\t x \r"), "x");

  const std::pair<std::string, std::optional<int64_t>> integers[] = {
      {"1", 1},
      {" -12", -12},
      {"+7", 7},
      {"0x1F", 31},
      {"0X10", 16},
      {"$FFFFFFFF", -1},
      {"$10", 16},
      {"-$10", -16},
      {"", std::nullopt},
      {"yes", std::nullopt},
      {"0x", std::nullopt},
      {"1 ", std::nullopt},
      {"4294967296", std::nullopt},
      {"2147483647", 2147483647},
  };
  for (const auto& [text, value] : integers) EXPECT_EQ(IniInteger(text), value) << text;
  EXPECT_TRUE(IniBool("-1", false));
  EXPECT_FALSE(IniBool("0", true));
  EXPECT_TRUE(IniBool("Yes", true));
  EXPECT_FALSE(IniBool("Yes", false));
}

}  // namespace
}  // namespace pack
