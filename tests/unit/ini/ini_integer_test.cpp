#include "app/ini_integer.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>

namespace {

struct IntegerCase {
  std::string text;
  std::optional<int32_t> expected;  // nullopt: not an integer
};

const IntegerCase kIntegerCases[] = {
    // Decimal, with the framework's blanks and sign.
    {"0", 0},
    {"1", 1},
    {"-1", -1},
    {"+7", 7},
    {"   42", 42},
    {"007", 7},
    {"2147483647", INT_MAX},
    {"-2147483648", INT_MIN},
    {"2147483648", std::nullopt},
    {"-2147483649", std::nullopt},
    {"99999999999999999999", std::nullopt},
    // "0x" hexadecimal: more than two characters, hex digits only after the prefix.
    {"0x1", 1},
    {"0xFFFFFFFF", -1},
    {"0x80000000", INT_MIN},
    {"0x100000000", std::nullopt},
    {"0x", std::nullopt},
    {"0xG", std::nullopt},
    {"0x 1", std::nullopt},
    {"0x-1", std::nullopt},
    {" 0x1", std::nullopt},
    {"-0x1", std::nullopt},
    // "$" hexadecimal after blanks and sign; up to 32 bits, wrapping.
    {"$FF", 255},
    {"$FFFFFFFF", -1},
    {"$7FFFFFFF", INT_MAX},
    {"-$10", -16},
    {"-$80000000", INT_MIN},
    {"-$FFFFFFFF", 1},
    {"$0000000000FF", 255},
    {"$100000000", std::nullopt},
    {"$", std::nullopt},
    {"$-1", std::nullopt},
    // Not integers.
    {"", std::nullopt},
    {" ", std::nullopt},
    {"-", std::nullopt},
    {"yes", std::nullopt},
    {"1 ", std::nullopt},
    {"\t1", std::nullopt},
    {"1.5", std::nullopt},
    {"1e3", std::nullopt},
    {"--1", std::nullopt},
    {"12abc", std::nullopt},
};

TEST(ParseIniIntegerTest, FollowsTheIntegerReadingRules) {
  for (const IntegerCase& c : kIntegerCases) {
    SCOPED_TRACE("text \"" + c.text + "\"");
    int32_t result = 12345;
    bool parsed = ParseIniInteger(c.text, result);
    EXPECT_EQ(parsed, c.expected.has_value());
    EXPECT_EQ(result, c.expected.value_or(12345)) << "a failed parse leaves the result alone";
  }
}

}  // namespace
