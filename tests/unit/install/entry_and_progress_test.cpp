// The field split of list entries, the progress formula and the build-date comparison.
#include <gtest/gtest.h>

#include "install/entry_fields.h"
#include "install/local_date.h"
#include "install/progress.h"

namespace {

struct SplitCase {
  const char* value;
  const char* separator;
  std::vector<std::string> fields;
};

TEST(SplitEntry, CutsAtEverySeparatorButATrailingOne) {
  const SplitCase cases[] = {
      {"", "?", {}},
      {"a", "?", {"a"}},
      {"a?b?c?d", "?", {"a", "b", "c", "d"}},
      {"a?b?c?", "?", {"a", "b", "c"}},
      {"a??b", "?", {"a", "", "b"}},
      {"a?b??", "?", {"a", "b", ""}},
      {"?", "?", {""}},
      {"x*?y*?*?z", "*?", {"x", "y", "", "z"}},
      {"x*y?z", "*?", {"x*y?z"}},
      {"x*?", "*?", {"x"}},
  };
  for (const SplitCase& c : cases) EXPECT_EQ(SplitEntry(c.value, c.separator), c.fields) << c.value;
}

TEST(FileProgress, FollowsTheFormulaWithHalvesToEven) {
  EXPECT_EQ(RoundHalfEven(0.5), 0);
  EXPECT_EQ(RoundHalfEven(1.5), 2);
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(2.5000001), 3);
  struct Case {
    int32_t entry, count;
    int64_t copied, size;
    int expected;
  } cases[] = {
      {0, 1, 0, 100, 0},           // one file: from 0 ...
      {0, 1, 100, 100, 99},        // ... to about 100 within it
      {1, 4, 0, 10, 25},           // entry 1 of 4 starts at a quarter
      {1, 4, 2048, 4095, 37},      // 25 + R(2048 * 25 / 4096) = 25 + R(12.5) = 25 + 12
      {0, 8, 2048, 4095, 6},       // R(100/8) = R(12.5) = 12; R(2048 * 12 / 4096) = 6
      {150, 201, 5000, 5000, 75},  // beyond 200 files the bar does not move within a file
      {3, 3, 0, 0, 100},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FileProgress(c.entry, c.count, c.copied, c.size), c.expected)
        << c.entry << "/" << c.count << " " << c.copied << "/" << c.size;
}

TEST(FileProgress, ProductOfLargeFilesDoesNotOverflow) {
  // 1.5 GB copied of a 2 GB entry, one entry: 32 bits would wrap the product.
  EXPECT_EQ(FileProgress(0, 1, 1500000000, 2000000000), 75);
}

struct DateCase {
  const char* text;
  const char* pattern;
  bool valid;
  platform::LocalDateTime expected;
};

TEST(ParseLocalDateTime, ReadsDatesInTheUsersOrder) {
  const DateCase cases[] = {
      {"6/15/2026", "M/d/yyyy", true, {2026, 6, 15, 0, 0, 0}},
      {"15.06.2026", "dd.MM.yyyy", true, {2026, 6, 15, 0, 0, 0}},
      {"2026-06-15", "yyyy-MM-dd", true, {2026, 6, 15, 0, 0, 0}},
      {"6/15/26", "M/d/yyyy", true, {2026, 6, 15, 0, 0, 0}},
      {"6/15/99", "M/d/yyyy", true, {1999, 6, 15, 0, 0, 0}},
      {"6/15", "M/d/yyyy", true, {2026, 6, 15, 0, 0, 0}},
      {"6/15/2026 14:30", "M/d/yyyy", true, {2026, 6, 15, 14, 30, 0}},
      {"6/15/2026 2:30:15 PM", "M/d/yyyy", true, {2026, 6, 15, 14, 30, 15}},
      {"6/15/2026 12:00 AM", "M/d/yyyy", true, {2026, 6, 15, 0, 0, 0}},
      {" 2/29/2024 ", "M/d/yyyy", true, {2024, 2, 29, 0, 0, 0}},
      {"2/29/2026", "M/d/yyyy", false, {}},
      {"15/6/2026", "M/d/yyyy", false, {}},
      {"6-15-2026", "M/d/yyyy", false, {}},
      {"", "M/d/yyyy", false, {}},
      {"6/15/2026 25:00", "M/d/yyyy", false, {}},
      {"6/15/2026 later", "M/d/yyyy", false, {}},
      {"tomorrow", "M/d/yyyy", false, {}},
  };
  for (const DateCase& c : cases) {
    std::optional<platform::LocalDateTime> parsed = ParseLocalDateTime(c.text, c.pattern, 2026);
    ASSERT_EQ(parsed.has_value(), c.valid) << c.text;
    if (!parsed) continue;
    EXPECT_FALSE(Earlier(*parsed, c.expected) || Earlier(c.expected, *parsed)) << c.text;
  }
}

TEST(ParseLocalDateTime, ComparesWithDosTimesAtTwoSecondSteps) {
  // 2026-06-15 10:20:31 in DOS form keeps 10:20:30.
  uint16_t date = static_cast<uint16_t>(((2026 - 1980) << 9) | (6 << 5) | 15);
  uint16_t time = static_cast<uint16_t>((10 << 11) | (20 << 5) | 15);
  platform::LocalDateTime file = FromDosDateTime(date, time);
  EXPECT_EQ(file.second, 30);
  EXPECT_TRUE(Earlier(file, *ParseLocalDateTime("6/15/2026 10:20:31", "M/d/yyyy", 2026)));
  EXPECT_FALSE(Earlier(file, *ParseLocalDateTime("6/15/2026 10:20:30", "M/d/yyyy", 2026)));
  EXPECT_FALSE(Earlier(file, *ParseLocalDateTime("6/15/2026", "M/d/yyyy", 2026)));
}

}  // namespace
