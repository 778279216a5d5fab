#include "app/ini_append.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr size_t npos = std::string::npos;

TEST(IniAppendTest, JournalReadsBackAndNoPartOfItDoes) {
  const AppendJournal note{123456789012ull, 2, 345};
  const std::string text = FormatAppendJournal(note);
  AppendJournal read;
  ASSERT_TRUE(ParseAppendJournal(text, read));
  EXPECT_EQ(read.base, note.base);
  EXPECT_EQ(read.firstLine, note.firstLine);
  EXPECT_EQ(read.length, note.length);
  for (size_t length = 0; length < text.size(); ++length)
    EXPECT_FALSE(ParseAppendJournal(text.substr(0, length), read)) << length << " bytes";
  EXPECT_FALSE(ParseAppendJournal(text + "x", read));
  EXPECT_FALSE(ParseAppendJournal("[General]\r\nAppName=Demo\r\n", read)) << "a whole image";
}

// The file's bytes from the append's start, after a kill at every stage of the append of
// "\r\n" (terminating an old last line), "0=a\r\n" and "1=bb\r\n".
TEST(IniAppendTest, CutKeepsCommittedLinesAndNothingElse) {
  const std::string tail = "\r\n0=a\r\n1=bb\r\n";
  const AppendJournal note{100, 2, tail.size()};
  const std::string guarded = CommentedOutLines(tail, {2, 7});
  struct Case {
    const char* name;
    std::string onDisk;
    size_t cut;
  };
  const Case cases[] = {
      {"nothing written yet", "", npos},
      {"half the terminator", "\r", 100},
      {"commented lines partly written", guarded.substr(0, 9), 100},
      {"commented lines written, none committed", guarded, 100},
      {"first committed", tail.substr(0, 7) + guarded.substr(7), 107},
      {"all committed", tail, npos},
      {"longer than the append: changed since", tail + "2=c\r\n", npos},
      {"a line the append cannot have written", "\r\n0=a", npos},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(UncommittedAppendCut(note, c.onDisk), c.cut);
  }
  // Without a terminator to add, the first line starts at the append's start.
  const AppendJournal plain{10, 0, 5};
  EXPECT_EQ(UncommittedAppendCut(plain, ";=a\r\n"), 10u);
  EXPECT_EQ(UncommittedAppendCut(plain, "0=a\r\n"), npos);
}

}  // namespace
