#include <gtest/gtest.h>

#include <string>

#include "text/path_parts.h"
#include "text/variables.h"

namespace {

struct FormatCase {
  const char* format;
  const char* argument;
  const char* expected;
};

TEST(FormatMessageText, OneStringDirectiveAndPercentPercentOnly) {
  const FormatCase cases[] = {
      {"Cannot create %s.", "C:\\App", "Cannot create C:\\App."},
      {"%s", "", ""},
      {"No directive", "ignored", "No directive"},
      {"100%% sure: %s", "x", "100% sure: x"},
      {"%%s is literal", "x", "%s is literal"},
      {"%s<#>Retry?", "file", "file\r\nRetry?"},
      {"<#><#>%s", "a", "\r\n\r\na"},
      // The argument is inserted as it is: its own "%" and "<#>" are not formatted again...
      {"[%s]", "50%", "[50%]"},
      {"[%s]", "%s%d", "[%s%d]"},
      // ...but the line-break escape applies to the whole result.
      {"[%s]", "a<#>b", "[a\r\nb]"},
      // Anything else: the text as written, with its line breaks.
      {"%d files", "x", "%d files"},
      {"%s and %s", "x", "%s and %s"},
      {"%s<#>%d", "x", "%s\r\n%d"},
      {"%5s", "x", "%5s"},
      {"%-s", "x", "%-s"},
      {"%0:s", "x", "%0:s"},
      {"%S", "x", "%S"},
      {"%n", "x", "%n"},
      {"50%", "x", "50%"},
      {"%", "x", "%"},
      {"%%%s%%", "x", "%x%"},
  };
  for (const FormatCase& c : cases)
    EXPECT_EQ(FormatMessageText(c.format, c.argument), c.expected) << c.format;
}

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
