#include "platform/windows_path.h"

#include <gtest/gtest.h>

#include "cab/cab_st_comps.h"

namespace {

TEST(PathJoin, OneBackslashBetweenPiecesAndEmptyPiecesSkipped) {
  struct Case {
    std::initializer_list<std::string> pieces;
    const char* expected;
  } cases[] = {
      {{"C:\\dir\\", "\\x"}, "C:\\dir\\x"}, {{"C:\\dir", "x"}, "C:\\dir\\x"},
      {{"", "x"}, "x"},                     {{"C:\\dir\\", "x"}, "C:\\dir\\x"},
      {{"C:\\dir", "\\x"}, "C:\\dir\\x"},   {{"a", "", "b"}, "a\\b"},
      {{"", ""}, ""},                        {{"C:\\", "sub\\f.txt"}, "C:\\sub\\f.txt"},
  };
  for (const Case& c : cases) EXPECT_EQ(PathJoin(c.pieces), c.expected);
}

TEST(WindowsPath, FolderAndNameParts) {
  EXPECT_EQ(winpath::FolderPart("C:\\a\\b.txt"), "C:\\a\\");
  EXPECT_EQ(winpath::NamePart("C:\\a\\b.txt"), "b.txt");
  EXPECT_EQ(winpath::FolderPart("C:b.txt"), "C:");
  EXPECT_EQ(winpath::NamePart("b.txt"), "b.txt");
  EXPECT_EQ(winpath::FolderPart("b.txt"), "");
  EXPECT_EQ(winpath::FolderPart("a/b"), "a/");
}

TEST(WindowsPath, ExpandPathResolvesAgainstTheCurrentFolder) {
  struct Case {
    const char* path;
    const char* expected;
  } cases[] = {
      {"x.cab", "C:\\work\\x.cab"},
      {"..\\x.cab", "C:\\x.cab"},
      {".\\sub\\.\\x.cab", "C:\\work\\sub\\x.cab"},
      {"\\x.cab", "C:\\x.cab"},
      {"D:\\a\\..\\b", "D:\\b"},
      {"C:x.cab", "C:\\work\\x.cab"},
      {"D:x.cab", "D:\\x.cab"},
      {"C:\\..\\..\\x", "C:\\x"},
      {"\\\\server\\share\\a\\..\\b", "\\\\server\\share\\b"},
  };
  for (const Case& c : cases) EXPECT_EQ(winpath::ExpandPath(c.path, "C:\\work"), c.expected) << c.path;
}

TEST(WindowsPath, ContainedRelativeNames) {
  for (const char* name : {"a.txt", "a\\b\\c.txt", "sub/x", "a..b", ".\\x", "..foo"})
    EXPECT_TRUE(winpath::IsContainedRelativeName(name)) << name;
  for (const char* name : {"", "\\x", "/x", "C:\\x", "C:x", "..\\x", "a\\..\\..\\x", "a/../b",
                           "..", "a\\...\\b", "a\\.. \\b", "\\\\server\\share\\x"})
    EXPECT_FALSE(winpath::IsContainedRelativeName(name)) << name;
}

TEST(WindowsPath, TrailingBackslashes) {
  EXPECT_EQ(winpath::WithTrailingBackslash("C:\\a"), "C:\\a\\");
  EXPECT_EQ(winpath::WithTrailingBackslash("C:\\a\\"), "C:\\a\\");
  EXPECT_EQ(winpath::WithoutTrailingBackslash("C:\\a\\"), "C:\\a");
  EXPECT_EQ(winpath::WithoutTrailingBackslash("C:\\"), "C:\\");
}

}  // namespace
