#include "install/registry_data.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using platform::RegistryValueType;

// Expected bytes written as hex pairs without separators; nullptr: the text does not convert.
struct BinaryCase {
  const char* text;
  const char* bytes;
};

std::string Bytes(const char* hex) {
  std::string bytes;
  for (size_t i = 0; hex[i] && hex[i + 1]; i += 2)
    bytes += static_cast<char>(std::stoi(std::string(hex + i, 2), nullptr, 16));
  return bytes;
}

TEST(RegistryData, BinaryTextByThePairRule) {
  const BinaryCase cases[] = {
      {"01 02 0A", "01020a"},
      {"01,FF", "01ff"},
      {"", ""},
      {"0a", "0a"},                  // a final pair needs no separator
      {"ff Ab", "ffab"},             // digits in either case
      {"10;20-30\t40", "10203040"},  // any character separates
      {"01 02 ", "0102"},            // a trailing separator
      {"010203", "0120"},            // adjacent pairs: the character after each pair is dropped
      {"0102", "01"},                // ...and what is left is a single character
      {"01 0", "01"},                // a single leftover character is ignored
      {"7", ""},
      {"0G", nullptr},
      {"01 zz", nullptr},
      {" 01", nullptr},     // the blank starts a pair
      {"01  02", nullptr},  // a second separator starts a pair
      {"01 -1", nullptr},   // no sign inside a pair
      {"0x10", nullptr},    // no prefix: "0x" is the first pair
  };
  for (const BinaryCase& c : cases) {
    std::optional<std::string> bytes = ParseRegistryBinary(c.text);
    if (!c.bytes) {
      EXPECT_FALSE(bytes.has_value()) << '"' << c.text << '"';
      continue;
    }
    ASSERT_TRUE(bytes.has_value()) << '"' << c.text << '"';
    EXPECT_EQ(*bytes, Bytes(c.bytes)) << '"' << c.text << '"';
  }
}

struct DWordCase {
  const char* text;
  std::optional<uint32_t> number;
};

TEST(RegistryData, DWordTextIsSigned32BitDecimalOrDollarHex) {
  const DWordCase cases[] = {
      {"-1", 0xFFFFFFFFu},
      {"$10", 16u},
      {"0", 0u},
      {"+7", 7u},
      {" 5", 5u},  // leading blanks are allowed, as by the usual string-to-integer rule
      {"2147483647", 0x7FFFFFFFu},
      {"-2147483648", 0x80000000u},
      {"$FFFFFFFF", 0xFFFFFFFFu},
      {"$ff", 255u},
      {"-$10", 0xFFFFFFF0u},
      {"2147483648", std::nullopt},  // decimal must fit 32 signed bits
      {"4294967295", std::nullopt},
      {"$100000000", std::nullopt},
      {"", std::nullopt},
      {"abc", std::nullopt},
      {"12x", std::nullopt},
      {"5 ", std::nullopt},
      {"$", std::nullopt},
      {"1.5", std::nullopt},
  };
  for (const DWordCase& c : cases)
    EXPECT_EQ(ParseRegistryDWord(c.text), c.number) << '"' << c.text << '"';
}

TEST(RegistryData, TypeWordsAreComparedExactly) {
  EXPECT_EQ(RegistryTypeFromWord("REG_SZ"), RegistryValueType::String);
  EXPECT_EQ(RegistryTypeFromWord("REG_EXPAND_SZ"), RegistryValueType::ExpandString);
  EXPECT_EQ(RegistryTypeFromWord("REG_DWORD"), RegistryValueType::DWord);
  EXPECT_EQ(RegistryTypeFromWord("REG_BINARY"), RegistryValueType::Binary);
  for (const char* word : {"reg_sz", "REG_SZ ", "REG_MULTI_SZ", "REG_QWORD", ""})
    EXPECT_FALSE(RegistryTypeFromWord(word).has_value()) << '"' << word << '"';
}

}  // namespace
