#include "pack/setup_script.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pack/pack_error.h"

namespace pack {
namespace {

struct RewriteCase {
  const char* name;
  std::string script;
  std::vector<uint64_t> sizes;
  std::string expected;
};

class RewriteTest : public testing::TestWithParam<RewriteCase> {};

TEST_P(RewriteTest, FillsSizesAndCountKeepingTheRest) {
  const RewriteCase& c = GetParam();
  const SetupScript script = SetupScript::Parse(c.script, "setup.ini");
  EXPECT_EQ(script.Rewrite(c.sizes), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, RewriteTest,
    testing::Values(
        RewriteCase{"CrLfWithFilesCount",
                    "; product\r\n[Setup]\r\nAppName=Demo\r\nFilesCount=99\r\n\r\n[Files]\r\n"
                    "0=<InstallDir>\\a.exe?bin\\a.exe?Overwrite?Yes\r\n"
                    "1=<InstallDir>\\doc\\b.txt?doc/b.txt?Skip?No\r\n",
                    {1234, 56},
                    "; product\r\n[Setup]\r\nAppName=Demo\r\nFilesCount=2\r\n\r\n[Files]\r\n"
                    "0=<InstallDir>\\a.exe?1234?Overwrite?Yes\r\n"
                    "1=<InstallDir>\\doc\\b.txt?56?Skip?No\r\n"},
        RewriteCase{"KeysRenumberedInFileOrder",
                    "[Setup]\nFilesCount=0\n[Files]\nmain = C:\\x\\a?a ?Ask?Yes\n"
                    "; a comment stays\n  7\t= C:\\x\\b? b?Ask?Yes\n",
                    {10, 20},
                    "[Setup]\nFilesCount=2\n[Files]\n0 = C:\\x\\a?10?Ask?Yes\n"
                    "; a comment stays\n  1\t= C:\\x\\b?20?Ask?Yes\n"},
        RewriteCase{"FilesCountAddedAfterLastSetupKey",
                    "[Setup]\nAppName=Demo\nWin7=1\n\n; files follow\n"
                    "[Files]\n0=a.txt?a.txt?Overwrite?Yes\n",
                    {7},
                    "[Setup]\nAppName=Demo\nWin7=1\nFilesCount=1\n\n; files follow\n[Files]\n"
                    "0=a.txt?7?Overwrite?Yes\n"},
        RewriteCase{"FilesCountAddedToSetupWithoutKeys",
                    "[Setup]\r\n[Files]\r\n0=a?a?x?y\r\n",
                    {3},
                    "[Setup]\r\nFilesCount=1\r\n[Files]\r\n0=a?3?x?y\r\n"},
        RewriteCase{"SetupSectionAddedWhenMissing",
                    "[Files]\n0=a?a?x?y",
                    {3},
                    "[Files]\n0=a?3?x?y\n[Setup]\nFilesCount=1\n"},
        RewriteCase{"SetupSectionLastWithoutFinalNewline",
                    "[Files]\r\n0=a?a?x?y\r\n[Setup]\r\nX=1",
                    {4},
                    "[Files]\r\n0=a?4?x?y\r\n[Setup]\r\nX=1\r\nFilesCount=1\r\n"},
        RewriteCase{"NamesWithoutRegardToCase",
                    "[SETUP]\nfilescount = 5 \n[files]\n0=a?a?x?y\n",
                    {8},
                    "[SETUP]\nfilescount = 1 \n[files]\n0=a?8?x?y\n"},
        RewriteCase{"NoFilesMeansCountZero",
                    "[Setup]\nAppName=Demo\nFilesCount=3\n",
                    {},
                    "[Setup]\nAppName=Demo\nFilesCount=0\n"},
        RewriteCase{"TrailingSeparator",
                    "[Files]\n0=a?src?x?y?\n",
                    {1},
                    "[Files]\n0=a?1?x?y?\n[Setup]\nFilesCount=1\n"},
        RewriteCase{"QuotedValue",
                    "[Files]\n0=\"a?src?Overwrite?Yes\"\n",
                    {9},
                    "[Files]\n0=\"a?9?Overwrite?Yes\"\n[Setup]\nFilesCount=1\n"},
        RewriteCase{"HeaderWithTrailingText",
                    "[Files] ; installed files\n0=a?s?x?y\n",
                    {5},
                    "[Files] ; installed files\n0=a?5?x?y\n[Setup]\nFilesCount=1\n"},
        RewriteCase{"OtherSectionsUntouched",
                    "[Shortcuts]\n0=a*?b?c\n[Files]\n0=a?s?x?y\n[Registry]\n0=FilesCount=1?2\n"
                    "[Other]\nFilesCount=7\n",
                    {5},
                    "[Shortcuts]\n0=a*?b?c\n[Files]\n0=a?5?x?y\n[Registry]\n0=FilesCount=1?2\n"
                    "[Other]\nFilesCount=7\n[Setup]\nFilesCount=1\n"}),
    [](const testing::TestParamInfo<RewriteCase>& info) { return info.param.name; });

TEST(SetupScriptTest, EntriesCarryFieldsAndLines) {
  const SetupScript script = SetupScript::Parse(
      "[Setup]\r\nAppName=X\r\n[Files]\r\n\r\n0=<InstallDir>\\docs\\m.txt? files\\docs\\m.txt "
      "?Overwrite?Yes?extra\r\n1=<InstallDir>\\r.txt?r.txt?Skip?No?\r\n",
      "setup.ini");
  const std::vector<FilesEntry>& entries = script.Entries();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].line, 5);
  EXPECT_EQ(entries[0].key, "0");
  EXPECT_EQ(entries[0].destination, "<InstallDir>\\docs\\m.txt");
  EXPECT_EQ(entries[0].source, "files\\docs\\m.txt");
  EXPECT_EQ(entries[0].fieldCount, 5u);
  EXPECT_EQ(entries[1].line, 6);
  EXPECT_EQ(entries[1].fieldCount, 4u);  // the trailing separator opens no field
}

TEST(SetupScriptTest, FilesSizeFilledInWhenLeftOut) {
  struct Case {
    std::string script;
    std::string expected;
  };
  const Case cases[] = {
      {"[Setup]\r\nAppName=X\r\n[Files]\r\n0=a?a?x?y\r\n",
       "[Setup]\r\nAppName=X\r\nFilesSize=2789\r\nFilesCount=1\r\n[Files]\r\n0=a?5?x?y\r\n"},
      {"[Setup]\nFilesSize=\nFilesCount=0\n[Files]\n0=a?a?x?y\n",
       "[Setup]\nFilesSize=2789\nFilesCount=1\n[Files]\n0=a?5?x?y\n"},
      {"[Setup]\nfilessize = 10 \nFilesCount=0\n[Files]\n0=a?a?x?y\n",
       "[Setup]\nfilessize = 10 \nFilesCount=1\n[Files]\n0=a?5?x?y\n"},
      {"[Files]\n0=a?a?x?y\n", "[Files]\n0=a?5?x?y\n[Setup]\nFilesSize=2789\nFilesCount=1\n"},
      {"[Other]\nFilesSize=1\n[Files]\n0=a?a?x?y\n",
       "[Other]\nFilesSize=1\n[Files]\n0=a?5?x?y\n[Setup]\nFilesSize=2789\nFilesCount=1\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SetupScript::Parse(c.script, "setup.ini").Rewrite({5}, 2789), c.expected) << c.script;
  }
}

TEST(SetupScriptTest, SectionsAndKeysAsTheSetupProgramReadsThem) {
  const SetupScript script = SetupScript::Parse(
      "AppName=before any section\n[Setup]\nAppName = \"Demo\" \n; Win7=0\nappname=Second\n"
      "[Shortcuts] ; links\n0=a*?b\n[shortcuts]\n1=c\n",
      "setup.ini");
  ASSERT_EQ(script.Sections().size(), 3u);
  EXPECT_EQ(script.Sections()[1].name, "Shortcuts");
  EXPECT_EQ(script.Sections()[1].line, 6);
  ASSERT_EQ(script.Keys().size(), 4u);  // the line before any section belongs to none
  EXPECT_EQ(script.Keys()[0].key, "AppName");
  EXPECT_EQ(script.Keys()[0].value, "Demo");
  EXPECT_EQ(script.Keys()[0].line, 3);
  const ScriptKey* appName = script.Find("SETUP", "appname");
  ASSERT_NE(appName, nullptr);
  EXPECT_EQ(appName->line, 3);  // the first of two
  EXPECT_EQ(script.Find("Setup", "Win7"), nullptr);
  const ScriptKey* link = script.Find("shortcuts", "1");
  EXPECT_EQ(link, nullptr);  // only the first [Shortcuts] is read
  ASSERT_NE(script.Find("Shortcuts", "0"), nullptr);
  EXPECT_EQ(script.Find("Shortcuts", "0")->value, "a*?b");
}

struct ErrorCase {
  const char* name;
  std::string script;
  std::string expected;  // part of the message
};

class ParseErrorTest : public testing::TestWithParam<ErrorCase> {};

TEST_P(ParseErrorTest, NamesFileAndLine) {
  const ErrorCase& c = GetParam();
  try {
    SetupScript::Parse(c.script, "prod/setup.ini");
    FAIL() << "no error";
  } catch (const PackError& e) {
    EXPECT_NE(std::string(e.what()).find(c.expected), std::string::npos) << e.what();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, ParseErrorTest,
    testing::Values(
        ErrorCase{"OneField", "[Setup]\n[Files]\n0=a.txt?b?c?d\n1=<InstallDir>\\b.txt\n",
                  "prod/setup.ini line 4: [Files] entry \"1\" needs at least"},
        ErrorCase{"ThreeFields", "[Files]\n0=a.txt?b?Overwrite?\n",
                  "line 2: [Files] entry \"0\" has 3 fields; the setup program needs four"},
        ErrorCase{"TrailingSeparatorOnly", "[Files]\n0=a.txt?\n", "line 2: [Files] entry \"0\""},
        ErrorCase{"EmptyValue", "[Files]\nfirst=\n", "line 2: [Files] entry \"first\""},
        ErrorCase{"NoEquals", "[Files]\n<InstallDir>\\a?a?x?y\n", "line 2: [Files] line without"},
        ErrorCase{"EmptySource", "[Files]\n0=a.txt? ?Overwrite?Yes\n",
                  "line 2: [Files] entry "
                  "\"0\" names no source"},
        ErrorCase{"EmptyDestination", "[Files]\n0=?a.txt?Overwrite?Yes\n",
                  "line 2: [Files] entry \"0\" has no destination"},
        ErrorCase{"SecondFilesSection", "[Files]\n0=a?a?x?y\n[Setup]\n[FILES]\n1=b?b?x?y\n",
                  "line 4: a second [FILES] section (the first is at line 1)"},
        ErrorCase{"SecondSetupSection", "[Setup]\nA=1\n[Files]\n[Setup]\nB=2\n",
                  "line 4: a second [Setup] section (the first is at line 1)"}),
    [](const testing::TestParamInfo<ErrorCase>& info) { return info.param.name; });

TEST(StoredFileNameTest, LastComponentOfTheDestination) {
  const std::pair<std::string, std::string> cases[] = {
      {"<InstallDir>\\docs\\manual.txt", "manual.txt"},
      {"<InstallDir>\\notes.bat", "notes.bat"},
      {"readme.txt", "readme.txt"},
      {"C:\\Program Files\\My App\\my app (1).dat", "my app (1).dat"},
  };
  for (const auto& [destination, name] : cases) {
    FilesEntry entry;
    entry.destination = destination;
    EXPECT_EQ(StoredFileName(entry, "setup.ini"), name) << destination;
  }
}

TEST(StoredFileNameTest, RefusesWhatCannotBeAFileName) {
  for (const std::string destination :
       {"<InstallDir>\\", "<InstallDir>\\<AppName>.exe", "<InstallDir>\\docs/manual.txt",
        "C:name.txt", "<InstallDir>\\a|b", "<InstallDir>\\a*.txt", "<InstallDir>\\\"q\""}) {
    FilesEntry entry;
    entry.destination = destination;
    entry.line = 12;
    try {
      StoredFileName(entry, "setup.ini");
      ADD_FAILURE() << destination << " accepted";
    } catch (const PackError& e) {
      EXPECT_NE(std::string(e.what()).find("setup.ini line 12: "), std::string::npos) << e.what();
    }
  }
}

}  // namespace
}  // namespace pack
