#include "text/display_path.h"

#include <gtest/gtest.h>

#include <string>

#include "text/path_parts.h"

namespace {

struct PathCase {
  const char* path;
  const char* folder;
  const char* name;
};

TEST(PathParts, FolderKeepsTheBackslashOfADriveRoot) {
  const PathCase cases[] = {
      {"C:\\a\\b.txt", "C:\\a", "b.txt"},
      {"C:\\a\\b\\", "C:\\a\\b", ""},
      {"C:\\x", "C:\\", "x"},
      {"C:\\", "C:\\", ""},
      {"C:", "C:", ""},
      {"C:x", "C:", "x"},
      {"\\\\server\\share\\f", "\\\\server\\share", "f"},
      {"\\x", "\\", "x"},
      {"name", "", "name"},
      {"", "", ""},
      // Only the backslash separates.
      {"C:/a/b", "C:", "/a/b"},
  };
  for (const PathCase& c : cases) {
    EXPECT_EQ(FolderOfPath(c.path), c.folder) << c.path;
    EXPECT_EQ(NameOfPath(c.path), c.name) << c.path;
  }
  EXPECT_EQ(WithoutOneTrailingBackslash("C:\\\\"), "C:\\");
  EXPECT_EQ(WithoutOneTrailingBackslash("C:\\a"), "C:\\a");
  EXPECT_EQ(WithoutOneTrailingBackslash(""), "");
}

// A path of exactly `length` characters ending in the given folders and file.
std::string PathOfLength(size_t length, const std::string& tail) {
  std::string head = "C:\\";
  std::string filler(length - head.size() - tail.size() - 1, 'p');
  return head + filler + "\\" + tail;
}

TEST(ShortenDisplayPath, SeventyCharactersFitSeventyOneDoNot) {
  std::string seventy = PathOfLength(70, "A\\B\\C\\file.txt");
  ASSERT_EQ(seventy.size(), 70u);
  EXPECT_EQ(ShortenDisplayPath(seventy), seventy);

  std::string seventyOne = PathOfLength(71, "A\\B\\C\\file.txt");
  ASSERT_EQ(seventyOne.size(), 71u);
  std::string folder =
      seventyOne.substr(0, seventyOne.size() - std::string("\\B\\C\\file.txt").size());
  EXPECT_EQ(ShortenDisplayPath(seventyOne), folder + "\\..\\file.txt");
}

TEST(ShortenDisplayPath, DropsTheTwoFoldersAboveTheFile) {
  std::string longName(80, 'n');
  EXPECT_EQ(ShortenDisplayPath("C:\\A\\B\\C\\D\\" + longName), "C:\\A\\B\\..\\" + longName);
  // Too few folders: the drive root keeps its backslash, as the folder rule says.
  EXPECT_EQ(ShortenDisplayPath("C:\\D\\" + longName), "C:\\\\..\\" + longName);
}

}  // namespace
