#include "text/text_replace.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct FindCase {
  const char* text;
  const char* name;
  size_t from;
  size_t expected;
};

TEST(FindIgnoringCase, FoldsAsciiLettersOnly) {
  constexpr size_t npos = std::string::npos;
  const FindCase cases[] = {
      {"x<AppName>", "<AppName>", 0, 1},
      {"x<appname>", "<AppName>", 0, 1},
      {"x<APPNAME>", "<AppName>", 0, 1},
      {"<App Name>", "<AppName>", 0, npos},
      {"<AppName", "<AppName>", 0, npos},
      {"<<AppName>", "<AppName>", 0, 1},
      {"<AppName><AppName>", "<AppName>", 1, 9},
      {"<AppName>", "<AppName>", 1, npos},
      {"<AppName>", "", 0, npos},
      {"", "<A>", 0, npos},
      {"abcABC", "Cab", 0, 2},
      {"abcABC", "cab", 3, npos},
      // Bytes above 127 have no ASCII case: they match only themselves.
      {"<\xC4pfel>", "<\xE4pfel>", 0, npos},
      {"<\xC4pfel>", "<\xC4PFEL>", 0, 0},
      // '@' and '`' sit next to the letters and must not fold onto them.
      {"<@>", "<`>", 0, npos},
      {"<[>", "<{>", 0, npos},
  };
  for (const FindCase& c : cases)
    EXPECT_EQ(FindIgnoringCase(c.text, c.name, c.from), c.expected)
        << c.text << " / " << c.name << " from " << c.from;
}

struct ReplaceCase {
  const char* text;
  const char* name;
  const char* value;
  const char* expected;
  bool replaced;
};

TEST(ReplaceIgnoringCase, ReplacesEveryOccurrenceOnceLeftToRight) {
  const ReplaceCase cases[] = {
      {"<A>", "<a>", "x", "x", true},
      {"1<a>2<A>3", "<A>", "-", "1-2-3", true},
      {"<A><A>", "<A>", "", "", true},
      {"none", "<A>", "x", "none", false},
      // The inserted value is not searched again, so a value holding its own name ends.
      {"<A>", "<A>", "<A><A>", "<A><A>", true},
      {"<A>.<A>", "<A>", "[<a>]", "[<a>].[<a>]", true},
      // Occurrences do not overlap: the search goes on behind each one.
      {"aaa", "aa", "b", "ba", true},
      {"aaaa", "AA", "b", "bb", true},
      // A name split by an earlier insertion is not put together.
      {"<<A>A>", "<A>", "", "<A>", true},
      {"", "<A>", "x", "", false},
      {"abc", "", "x", "abc", false},
  };
  for (const ReplaceCase& c : cases) {
    std::string text = c.text;
    EXPECT_EQ(ReplaceIgnoringCase(text, c.name, c.value), c.replaced) << c.text;
    EXPECT_EQ(text, c.expected) << c.text << " / " << c.name;
  }
}

}  // namespace
