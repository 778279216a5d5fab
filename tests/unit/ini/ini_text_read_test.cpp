#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/ini_text.h"

namespace {

using Names = std::vector<std::string>;
using namespace std::string_literals;

struct ReadCase {
  const char* name;
  std::string text;
  const char* section;
  const char* key;
  std::string expected;  // "DEF" is the default passed in
};

const ReadCase kReadCases[] = {
    {"plain", "[Setup]\r\nAppName=Demo\r\n", "Setup", "AppName", "Demo"},
    {"names fold case", "[SETUP]\nappname=Demo\n", "setup", "APPNAME", "Demo"},
    {"last line unterminated", "[S]\r\na=1\r\nb=2", "S", "b", "2"},
    {"blanks around name and value", "[S]\n  Key \t=   Demo App  \t\n", "S", "Key", "Demo App"},
    {"blanks around requested names", "[S]\nKey=v\n", " S\t", " Key ", "v"},
    {"blanks inside brackets", "[ Setup ]\nk=v\n", "Setup", "k", "v"},
    {"header without bracket is no section", "[A]\n[B\nx=1\n", "B", "x", "DEF"},
    {"... in the section before it", "[A]\n[B\nx=1\n", "A", "x", "1"},
    {"double quotes", "[S]\nk=\"a b\"\n", "S", "k", "a b"},
    {"single quotes", "[S]\nk='a'\n", "S", "k", "a"},
    {"quotes inside blanks", "[S]\nk=  \"  a  \"  \n", "S", "k", "  a  "},
    {"one pair only", "[S]\nk=\"\"a\"\"\n", "S", "k", "\"a\""},
    {"a lone quote", "[S]\nk=\"\n", "S", "k", "\""},
    {"comment", "[S]\n;k=1\n", "S", ";k", "DEF"},
    {"a line without equals is no key", "[S]\nflag\n", "S", "flag", "DEF"},
    {"... nor is a bracket line without close", "[S]\n[x\n", "S", "[x", "DEF"},
    {"... but with equals it is", "[S]\n[x=1\n", "S", "[x", "1"},
    {"empty value", "[S]\nk=\n", "S", "k", ""},
    {"equals in value", "[S]\nk=a=b\n", "S", "k", "a=b"},
    {"nameless key", "[S]\n=v\n", "S", "", "DEF"},
    {"first repeated key", "[S]\nk=1\nK=2\n", "S", "k", "1"},
    {"first repeated section", "[S]\nk=1\n[T]\n[s]\nk=2\nj=3\n", "S", "k", "1"},
    {"later repeat invisible", "[S]\nk=1\n[T]\n[s]\nk=2\nj=3\n", "S", "j", "DEF"},
    {"missing section", "[S]\nk=1\n", "T", "k", "DEF"},
    {"missing key", "[S]\nk=1\n", "S", "j", "DEF"},
    {"lone CR ends a line", "[S]\r\nk=a\rb=c\r\n", "S", "k", "a"},
    {"... and starts the next", "[S]\r\nk=a\rb=c\r\n", "S", "b", "c"},
    {"tab and Ctrl-Z are blanks", "[S]\nk=\t1\x1A\n", "S", "k", "1"},
    {"NUL ends a value", "[S]\nk=a\0b\nj=2\n"s, "S", "k", "a"},
    {"... not the file", "[S]\nk=a\0b\nj=2\n"s, "S", "j", "2"},
    {"NUL ends a name", "[S]\nk \0x=1\n"s, "S", "k", "1"},
    {"NUL ends a section name", "[S\0T]\nk=1\n"s, "S", "k", "1"},
    {"NUL before the closing quote", "[S]\nk=\"a\0\"\n"s, "S", "k", "\"a"},
    {"byte-order mark", "\xEF\xBB\xBF[Setup]\r\nk=1\r\n", "Setup", "k", "1"},
    {"keys before any section", "k=1\n[S]\n", "", "k", "1"},
    {"value cut to 2047", "[S]\nk=" + std::string(3000, 'x') + "\n", "S", "k",
     std::string(2047, 'x')},
    {"quotes removed before the cut", "[S]\nk=\"" + std::string(2047, 'x') + "y\"\n", "S", "k",
     std::string(2047, 'x')},
};

TEST(IniTextReadTest, ReadStringFollowsTheServiceRules) {
  for (const ReadCase& c : kReadCases) {
    SCOPED_TRACE(c.name);
    IniText image = IniText::Parse(c.text);
    EXPECT_EQ(image.ReadString(c.section, c.key, "DEF"), c.expected);
  }
}

// CR LF, LF and a lone CR each end a line, in any mix: a setup script saved with CR alone
// reads like one saved with CR LF, not as one long line of defaults.
TEST(IniTextReadTest, EveryLineEndEndsALine) {
  const std::string ends[] = {"\r\n", "\n", "\r"};
  for (const std::string& a : ends) {
    for (const std::string& b : ends) {
      for (const std::string& c : ends) {
        const std::string text = "[Setup]" + a + "AppName=Demo" + b + "Win7=0" + c + "note" + a +
                                 "[Files]" + b + "0=x?1?Skip?Yes" + c;
        SCOPED_TRACE(::testing::PrintToString(text));
        IniText image = IniText::Parse(text);
        EXPECT_EQ(image.ReadString("Setup", "AppName", "DEF"), "Demo");
        EXPECT_FALSE(image.ReadBool("Setup", "Win7", true));
        EXPECT_EQ(image.ReadSection("Setup"), Names({"AppName", "Win7"}));
        EXPECT_EQ(image.ReadString("Files", "0", "DEF"), "x?1?Skip?Yes");
        EXPECT_EQ(image.Serialize(), text);
      }
    }
  }
  // Runs of line ends are blank lines, whatever they are made of.
  IniText runs = IniText::Parse("[S]\r\r\n\n\rk=1\r\r\n\rj=2");
  EXPECT_EQ(runs.ReadSection("S"), Names({"k", "j"}));
  EXPECT_EQ(runs.ReadString("S", "j", "DEF"), "2");
}

TEST(IniTextReadTest, DefaultLosesTrailingSpacesAndIsCut) {
  IniText image = IniText::Parse("[S]\nk=1\n");
  EXPECT_EQ(image.ReadString("S", "x", "abc  "), "abc");
  EXPECT_EQ(image.ReadString("S", "x", "  abc"), "  abc");
  EXPECT_EQ(image.ReadString("S", "x", std::string(3000, 'd')), std::string(2047, 'd'));
}

struct NumberCase {
  std::string line;  // in section [Setup]
  const char* key;
  bool defaultValue;
  bool expected;
};

TEST(IniTextReadTest, BooleansOfTheSetupScript) {
  const NumberCase cases[] = {
      {"Win7=0x1", "Win7", true, true},     {"Win7=", "Win7", true, true},
      {"Win7=yes", "Win7", true, true},     {"Win7=0", "Win7", true, false},
      {"x64=-1", "x64", false, true},       {"x64=\"0\"", "x64", true, false},
      {"Admin = 1 ", "Admin", false, true}, {"Other=1", "Admin", false, false},
      {"Other=1", "Admin", true, true},
  };
  for (const NumberCase& c : cases) {
    SCOPED_TRACE(c.line + " default " + (c.defaultValue ? "true" : "false"));
    IniText image = IniText::Parse("[Setup]\r\n" + c.line + "\r\n");
    EXPECT_EQ(image.ReadBool("Setup", c.key, c.defaultValue), c.expected);
  }
}

TEST(IniTextReadTest, IntegersGoThroughTheStringReading) {
  IniText image = IniText::Parse(
      "[Setup]\nFilesCount=2\nFilesSize=$FFFFFFFF\nQuoted='12'\nBig=4294967296\nText=abc\n"
      "Long=" +
      std::string(2046, '0') + "12\n");
  EXPECT_EQ(image.ReadInteger("Setup", "FilesCount", 0), 2);
  EXPECT_EQ(image.ReadInteger("Setup", "FilesSize", 0), -1);
  EXPECT_EQ(image.ReadInteger("Setup", "Quoted", 0), 12);
  EXPECT_EQ(image.ReadInteger("Setup", "Big", 7), 7);
  EXPECT_EQ(image.ReadInteger("Setup", "Text", 7), 7);
  EXPECT_EQ(image.ReadInteger("Setup", "Missing", -3), -3);
  EXPECT_EQ(image.ReadInteger("Setup", "Long", 7), 1) << "the value is cut before conversion";
}

struct ListCase {
  const char* name;
  std::string text;
  const char* section;
  Names expected;
};

TEST(IniTextReadTest, ReadSectionListsKeyLinesInFileOrder) {
  const ListCase cases[] = {
      {"order and repeats", "[S]\nb=1\na=2\nB=3\n;c=4\n\nflag\n[T]\nt=1\n", "S", {"b", "a", "B"}},
      {"names as spelled, without blanks", "[S]\n  Key \t= 1\n", " s ", {"Key"}},
      {"a nameless key ends the list", "[S]\na=1\n = 2\nb=3\n", "S", {"a"}},
      {"first of repeated sections", "[S]\na=1\n[s]\nb=2\n", "S", {"a"}},
      {"missing section", "[S]\na=1\n", "T", {}},
      {"empty section", "[S]\n[T]\na=1\n", "S", {}},
      {"bracket line without close", "[S]\n[x\n", "S", {}},
      {"... with equals", "[S]\n[x=\n", "S", {"[x"}},
      {"lines without equals are skipped", "[S]\na=1\nnote\nb=2\n", "S", {"a", "b"}},
      {"zero bytes are no key", "[S]\na=1\n\0\0\0\nb=2\n"s, "S", {"a", "b"}},
      {"... unless they have equals", "[S]\na=1\n\0\0=\nb=2\n"s, "S", {"a"}},
  };
  for (const ListCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(IniText::Parse(c.text).ReadSection(c.section), c.expected);
  }
}

// 1638 names of nine characters fill 16380 bytes of the 16383 that the names with their
// terminators may use (one byte stays for the final terminator).
std::string FullSection(const std::string& tail) {
  std::string text = "[S]\r\n";
  for (int i = 0; i < 1638; ++i) {
    char name[16];
    snprintf(name, sizeof name, "k%08d", i);
    text += std::string(name) + "=v\r\n";
  }
  return text + tail;
}

TEST(IniTextReadTest, ListingStopsAtTheFirstNameThatDoesNotFitWhole) {
  struct LimitCase {
    const char* name;
    std::string tail;
    Names lastListed;  // the names listed after the 1638 full ones
  };
  const LimitCase cases[] = {
      {"fills the buffer exactly", "ab=1\r\n", {"ab"}},
      {"one byte over", "abc=1\r\nz=1\r\n", {}},
      {"a repeat counts too", "K00000000=1\r\n", {}},
  };
  for (const LimitCase& c : cases) {
    SCOPED_TRACE(c.name);
    IniText image = IniText::Parse(FullSection(c.tail));
    Names names = image.ReadSection("S");
    ASSERT_EQ(names.size(), 1638 + c.lastListed.size());
    EXPECT_EQ(names[1637], "k00001637");
    EXPECT_EQ(Names(names.begin() + 1638, names.end()), c.lastListed);
  }
}

TEST(IniTextReadTest, ValueExistsMeansListed) {
  IniText full = IniText::Parse(FullSection("abc=1\r\nz=1\r\n"));
  EXPECT_TRUE(full.ValueExists("S", "k00000000"));
  EXPECT_TRUE(full.ValueExists("s", "K00001637"));
  EXPECT_FALSE(full.ValueExists("S", "abc")) << "beyond the listing";
  EXPECT_FALSE(full.ValueExists("S", "z"));
  EXPECT_EQ(full.ReadString("S", "z", "DEF"), "1") << "still readable";

  IniText small = IniText::Parse("[S]\nflag\nk=\n = x\nafter=1\n[T]\nk=1\n");
  EXPECT_FALSE(small.ValueExists("S", "flag")) << "no equals, no key";
  EXPECT_TRUE(small.ValueExists("S", " K "));
  EXPECT_FALSE(small.ValueExists("S", "after")) << "after a nameless key";
  EXPECT_FALSE(small.ValueExists("S", "x"));
  EXPECT_FALSE(small.ValueExists("U", "k"));
  EXPECT_FALSE(small.ValueExists("S", ""));
}

TEST(IniTextReadTest, SerializeGivesBackEveryByte) {
  const std::string texts[] = {
      "",
      "\n",
      "\r\n\r\n",
      "k=1",
      "\xEF\xBB\xBF; comment\r\n[S]\nk = v \r\n\r\n[ T ]x\r\n=\r\n[broken\n  flag\t\r\nz=\0\r"s,
      "a\rb\r\r\n\r",
  };
  for (const std::string& text : texts) {
    IniText image = IniText::Parse(text);
    EXPECT_EQ(image.Serialize(), text);
    EXPECT_EQ(image.Size(), text.size());
  }
}

}  // namespace
