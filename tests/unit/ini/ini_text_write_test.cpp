#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "app/ini_append.h"
#include "app/ini_text.h"

namespace {

using Change = IniText::Change;

// Everything a reader can observe for the given names, to compare two images.
std::string Observe(const IniText& image, const std::vector<std::string>& sections,
                    const std::vector<std::string>& keys) {
  std::string seen;
  for (const std::string& section : sections) {
    seen += "[" + section + "]";
    for (const std::string& name : image.ReadSection(section)) seen += name + ",";
    for (const std::string& key : keys) {
      seen += key + "=" + image.ReadString(section, key, "<none>") +
              (image.ValueExists(section, key) ? "+" : "-") + ";";
    }
  }
  return seen;
}

// The image after a write is the image of its own text: the index was kept up to date.
void ExpectConsistent(const IniText& image, const std::vector<std::string>& sections,
                      const std::vector<std::string>& keys) {
  const std::string text = image.Serialize();
  EXPECT_EQ(image.Size(), text.size());
  EXPECT_EQ(Observe(image, sections, keys), Observe(IniText::Parse(text), sections, keys));
}

struct WriteCase {
  const char* name;
  std::string before;
  const char* section;
  const char* key;
  std::string value;
  std::string after;
  Change::Kind kind;
};

const WriteCase kWriteCases[] = {
    {"replace keeps the line up to the value", "[S]\r\n  Key = old  \r\nx=1\r\n", "S", "key", "new",
     "[S]\r\n  Key = new\r\nx=1\r\n", Change::kRewritten},
    {"replace the first of repeats", "[S]\nk=1\nk=2\n", "S", "K", "9", "[S]\nk=9\nk=2\n",
     Change::kRewritten},
    {"replace in the first of repeated sections", "[S]\nk=1\n[S]\nk=2\n", "s", "k", "9",
     "[S]\nk=9\n[S]\nk=2\n", Change::kRewritten},
    {"a line without equals is no key to replace", "[S]\nflag\n", "S", "flag", "1",
     "[S]\nflag=1\r\nflag\n", Change::kRewritten},
    {"add after a lone CR", "[S]\ra=1\r", "S", "b", "2", "[S]\ra=1\rb=2\r\n", Change::kAppended},
    {"replace in a file of lone CRs", "[S]\rk=1\rj=2", "S", "k", "3", "[S]\rk=3\rj=2",
     Change::kRewritten},
    {"CR in a value", "[S]\r\n", "S", "k", "a\rb=c", "[S]\r\nk=a\rb=c\r\n", Change::kRewritten},
    {"replace an empty value", "[S]\nk=   \n", "S", "k", "v", "[S]\nk=v\n", Change::kRewritten},
    {"replace the unterminated last line", "[S]\nk=1", "S", "k", "22", "[S]\nk=22",
     Change::kRewritten},
    {"same value", "[S]\r\nk=v\r\n", "S", "k", "v", "[S]\r\nk=v\r\n", Change::kUnchanged},
    {"same value once unquoted is still written", "[S]\nk=\"v\"\n", "S", "k", "v", "[S]\nk=v\n",
     Change::kRewritten},
    {"add after the last key line", "[S]\r\na=1\r\n; note\r\n\r\n[T]\r\n", "S", "b", "2",
     "[S]\r\na=1\r\nb=2\r\n; note\r\n\r\n[T]\r\n", Change::kRewritten},
    {"add to a section without keys", "[S]\r\n; c\r\n[T]\r\n", "S", "b", "2",
     "[S]\r\nb=2\r\n; c\r\n[T]\r\n", Change::kRewritten},
    {"add to the first of repeated sections", "[S]\na=1\n[S]\nb=2\n", "S", "b", "3",
     "[S]\na=1\nb=3\r\n[S]\nb=2\n", Change::kRewritten},
    {"add at the end of the file", "[S]\r\na=1\r\n", "S", "b", "2", "[S]\r\na=1\r\nb=2\r\n",
     Change::kAppended},
    {"add after an unterminated last line", "[S]\na=1", "S", "b", "2", "[S]\na=1\r\nb=2\r\n",
     Change::kAppended},
    {"add after an unterminated header", "[S]", "S", "b", "2", "[S]\r\nb=2\r\n", Change::kAppended},
    {"add before trailing blank lines", "[S]\na=1\n\n", "S", "b", "2", "[S]\na=1\nb=2\r\n\n",
     Change::kRewritten},
    {"add a section", "[S]\na=1\n", "T", "k", "v", "[S]\na=1\n[T]\r\nk=v\r\n", Change::kRewritten},
    {"add a section after an unterminated line", "[S]\na=1", "T", "k", "v",
     "[S]\na=1\r\n[T]\r\nk=v\r\n", Change::kRewritten},
    {"add a section to an empty file", "", " T ", " k ", "v", "[T]\r\nk=v\r\n", Change::kRewritten},
    {"values are written as given", "", "T", "k", " \"v\" ", "[T]\r\nk= \"v\" \r\n",
     Change::kRewritten},
    {"keys before any section", "k=1\n[S]\n", "", "j", "2", "k=1\nj=2\r\n[S]\n",
     Change::kRewritten},
    {"nameless key refused", "[S]\n", "S", " ", "v", "[S]\n", Change::kRejected},
    // Written as they stand and read back the way the file now reads.
    {"line break in the value", "[S]\r\n", "S", "k", "a\r\nb=c", "[S]\r\nk=a\r\nb=c\r\n",
     Change::kRewritten},
    {"line break in a replaced value", "[S]\r\nk=1\r\n", "S", "k", "a\nb=c", "[S]\r\nk=a\nb=c\r\n",
     Change::kRewritten},
    {"equals in the key", "[S]\r\n", "S", "a=b", "c", "[S]\r\na=b=c\r\n", Change::kRewritten},
    {"key that looks like a comment", "[S]\r\n", "S", ";k", "c", "[S]\r\n;k=c\r\n",
     Change::kRewritten},
    {"key that looks like a header", "[S]\r\n", "S", "[T]", "c", "[S]\r\n[T]=c\r\n",
     Change::kRewritten},
    {"section with a line break", "", "A]\r\n[B", "k", "v", "[A]\r\n[B]\r\nk=v\r\n",
     Change::kRewritten},
    {"byte-order mark before the key", "\xEF\xBB\xBFk=1\n", "", "k", "2", "\xEF\xBB\xBFk=2\n",
     Change::kRewritten},
    {"byte-order mark starting the file", "[S]\n", "", "\xEF\xBB\xBFk", "1",
     "\xEF\xBB\xBFk=1\r\n[S]\n", Change::kRewritten},
    {"a byte-order mark stays first", "\xEF\xBB\xBF;c\n", "", "k", "1", "\xEF\xBB\xBFk=1\r\n;c\n",
     Change::kRewritten},
    {"... also before a header", "\xEF\xBB\xBF[S]\n", "", "k", "1", "\xEF\xBB\xBFk=1\r\n[S]\n",
     Change::kRewritten},
    {"... and in an otherwise empty file", "\xEF\xBB\xBF", "S", "k", "1",
     "\xEF\xBB\xBF[S]\r\nk=1\r\n", Change::kRewritten},
    {"CR at the end of a value", "[S]\nk=1\n", "S", "k", "2\r", "[S]\nk=2\r\n", Change::kRewritten},
};

TEST(IniTextWriteTest, WritesChangeOnlyWhatTheyMust) {
  const std::vector<std::string> sections = {"", "S", "T", "A", "B"};
  const std::vector<std::string> keys = {"k",    "K", "a",   "b",  "j",  "key",
                                         "flag", "x", "a=b", ";k", "[T]"};
  for (const WriteCase& c : kWriteCases) {
    SCOPED_TRACE(c.name);
    IniText image = IniText::Parse(c.before);
    Change change = image.Write(c.section, c.key, c.value);
    EXPECT_EQ(change.kind, c.kind);
    EXPECT_EQ(image.Serialize(), c.after);
    if (change.kind == Change::kAppended) {
      EXPECT_EQ(c.before + change.appended, c.after);
      EXPECT_EQ(change.appended.compare(change.lineOffset, std::string::npos,
                                        std::string(c.key) + "=" + c.value + "\r\n"),
                0);
    }
    ExpectConsistent(image, sections, keys);
  }
}

// Random writes, strange names and values included, never let the index drift from the text.
TEST(IniTextWriteTest, RandomWritesKeepTheImageConsistent) {
  const std::vector<std::string> sections = {"", "A", "b", "B ", "C"};
  const std::vector<std::string> keys = {"k", "K", "x", " y", "1", "=", "z=1", ";c", "[A]"};
  const std::vector<std::string> values = {"",       "v",   " v ", "\"q\"", "a\r\nb",
                                           "a\nC=2", "x\r", "[C]", "=",     std::string(3, '\0')};
  const std::vector<std::string> starts = {"", "[A]\nk=1", "; c\r\n[B]\r\n\r\n[A]\r\n[b]\r\nx\r\n",
                                           "k=0\n[C]\n=9\nz=2\n\n"};
  std::mt19937 random(20240);
  for (int round = 0; round < 200; ++round) {
    IniText image = IniText::Parse(starts[round % starts.size()]);
    for (int step = 0; step < 12; ++step) {
      const std::string before = image.Serialize();
      const std::string& section = sections[random() % sections.size()];
      const std::string& key = keys[random() % keys.size()];
      const std::string& value = values[random() % values.size()];
      Change change = image.Write(section, key, value);
      SCOPED_TRACE("round " + std::to_string(round) + " step " + std::to_string(step));
      if (change.kind == Change::kAppended) {
        EXPECT_EQ(before + change.appended, image.Serialize());
      }
      ExpectConsistent(image, sections, keys);
    }
  }
}

// A crash while appended lines are written leaves a prefix of the commented-out lines on disk;
// every such prefix must read exactly as the file did before.
TEST(IniTextWriteTest, EveryPrefixOfAnAppendReadsAsTheOldFile) {
  const std::vector<std::string> sections = {"S", "T"};
  const std::vector<std::string> keys = {"a", "b", "c", "["};
  const std::string bases[] = {"[S]\r\na=1\r\n", "[T]\r\n[S]\na=\"1\"", "[S]"};
  for (const std::string& base : bases) {
    SCOPED_TRACE(base);
    IniText image = IniText::Parse(base);
    std::string tail;
    std::vector<size_t> lines;
    for (const char* key : {"b", "c", "[x"}) {
      Change change = image.Write("S", key, "C:\\Program Files\\App");
      ASSERT_EQ(change.kind, Change::kAppended);
      lines.push_back(tail.size() + change.lineOffset);
      tail += change.appended;
    }
    const std::string guarded = CommentedOutLines(tail, lines);
    const std::string old = Observe(IniText::Parse(base), sections, keys);
    for (size_t length = 0; length <= guarded.size(); ++length) {
      EXPECT_EQ(Observe(IniText::Parse(base + guarded.substr(0, length)), sections, keys), old)
          << "after " << length << " bytes";
    }
    // Then the lines come alive one by one, each by its first byte.
    std::string onDisk = base + guarded;
    for (size_t i = 0; i < lines.size(); ++i) {
      onDisk[base.size() + lines[i]] = tail[lines[i]];
      EXPECT_EQ(IniText::Parse(onDisk).ReadSection("S").size(),
                IniText::Parse(base).ReadSection("S").size() + i + 1);
    }
    EXPECT_EQ(onDisk, base + tail);
  }
}

}  // namespace
