// The image follows changes that others make to the file, and the first write removes what a
// killed write left behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/ini_append.h"
#include "app/ini_file.h"
#include "app/ini_text.h"
#include "support/sandbox.h"

namespace {

using Names = std::vector<std::string>;

class IniFileRefreshTest : public SandboxTest {
 protected:
  const std::string path_ = "C:\\App\\Uninstall.ini";
  const std::string temp_ = path_ + ".~wr";

  void SetUp() override {
    SandboxTest::SetUp();
    std::filesystem::create_directories(Host("C:\\App"));
  }
  bool TempLeft() const { return std::filesystem::exists(Host(temp_)); }
};

TEST_F(IniFileRefreshTest, ReadsFollowTheDiskAfterANote) {
  WriteFile(path_, "[Setup]\r\nInstallationPath=C:\\Old\r\n");
  IniFile ini(path_);
  EXPECT_EQ(ini.ReadString("Setup", "InstallationPath", ""), "C:\\Old");
  const uint64_t loads = ini.Loads();
  WriteFile(path_, "[Setup]\r\nInstallationPath=C:\\Computed\\Path\r\nUninstall=1\r\n");
  IniFile::NoteOutsideChanges();
  EXPECT_EQ(ini.ReadString("Setup", "InstallationPath", ""), "C:\\Computed\\Path");
  EXPECT_TRUE(ini.ReadBool("Setup", "Uninstall", false));
  EXPECT_EQ(ini.Loads(), loads + 1);

  // A note with nothing changed reads nothing again.
  IniFile::NoteOutsideChanges();
  EXPECT_EQ(ini.ReadSection("Setup"), (Names{"InstallationPath", "Uninstall"}));
  EXPECT_EQ(ini.Loads(), loads + 1);

  // A file that appears, and one that goes.
  IniFile later("C:\\App\\later.ini");
  WriteFile("C:\\App\\later.ini", "[S]\r\nk=1\r\n");
  IniFile::NoteOutsideChanges();
  EXPECT_EQ(later.ReadInteger("S", "k", 0), 1);
  std::filesystem::remove(Host("C:\\App\\later.ini"));
  IniFile::NoteOutsideChanges();
  EXPECT_EQ(later.ReadInteger("S", "k", 0), 0);
}

// Whatever another writer added (a program the setup ran, the system's INI service) is still
// there after the object's next write, whether that write appends or rewrites.
TEST_F(IniFileRefreshTest, AWriteNeverDropsWhatAnotherWriterAdded) {
  struct Case {
    const char* name;
    const char* section;
    const char* key;
  };
  for (const Case& c : {Case{"append", "Files", "2"}, Case{"rewrite a value", "General", "AppName"},
                        Case{"add a section", "Folders", "0"}}) {
    SCOPED_TRACE(c.name);
    WriteFile(path_, "[General]\r\nAppName=Demo\r\n[Files]\r\n0=a\r\n");
    IniFile ini(path_);
    ASSERT_TRUE(ini.WriteString("Files", "1", "b"));
    // No note: a write always looks at the disk first.
    WriteFile(path_, ReadFile(path_) + "[Custom]\r\nAdded=by a command\r\n");
    ASSERT_TRUE(ini.WriteString(c.section, c.key, "new"));
    IniText onDisk = IniText::Parse(ReadFile(path_));
    EXPECT_EQ(onDisk.ReadString("Custom", "Added", ""), "by a command");
    EXPECT_EQ(onDisk.ReadString("Files", "1", ""), "b");
    EXPECT_EQ(onDisk.ReadString(c.section, c.key, ""), "new");
    EXPECT_EQ(ini.Image().Serialize(), ReadFile(path_));
    EXPECT_FALSE(TempLeft());
  }
}

// A kill during an append leaves its journal and, at the file's end, lines still commented out
// (some of them perhaps cut short), after any lines already committed. Every such state, met by
// the next object's first write, ends as the old file plus the committed lines plus that write.
TEST_F(IniFileRefreshTest, TheFirstWriteCutsWhatAKilledAppendLeft) {
  const std::string bases[] = {"[Files]\r\n0=C:\\App\\a.exe\r\n", "[Files]\r\n0=C:\\App\\a.exe"};
  for (const std::string& base : bases) {
    IniText image = IniText::Parse(base);
    std::string tail;
    std::vector<size_t> lines;
    for (const char* key : {"1", "2", "3"}) {
      IniText::Change change = image.Write("Files", key, std::string("C:\\App\\file") + key);
      ASSERT_EQ(change.kind, IniText::Change::kAppended);
      lines.push_back(tail.size() + change.lineOffset);
      tail += change.appended;
    }
    const std::string journal = FormatAppendJournal({base.size(), lines.front(), tail.size()});
    const std::string guarded = CommentedOutLines(tail, lines);
    std::vector<std::pair<std::string, size_t>> states;  // bytes on disk, lines committed
    for (size_t length = 0; length <= guarded.size(); ++length)
      states.emplace_back(base + guarded.substr(0, length), 0);
    std::string onDisk = base + guarded;
    for (size_t i = 0; i < lines.size(); ++i) {
      onDisk[base.size() + lines[i]] = tail[lines[i]];
      states.emplace_back(onDisk, i + 1);
    }
    for (const auto& [bytes, committed] : states) {
      SCOPED_TRACE(::testing::PrintToString(bytes));
      WriteFile(path_, bytes);
      WriteFile(temp_, journal);
      IniFile ini(path_);
      ASSERT_TRUE(ini.WriteString("Folders", "0", "C:\\App"));
      const std::string after = ReadFile(path_);
      EXPECT_FALSE(TempLeft());
      EXPECT_EQ(after.find(';'), std::string::npos);
      IniText read = IniText::Parse(after);
      EXPECT_EQ(read.ReadSection("Files").size(), 1 + committed);
      EXPECT_EQ(read.ReadString("Folders", "0", ""), "C:\\App");
      EXPECT_TRUE(after.starts_with(base));
    }
  }
}

TEST_F(IniFileRefreshTest, TheFirstWriteDropsAnUnfinishedReplacement) {
  const std::string original = "[General]\r\nAppName=Demo\r\n";
  for (const std::string& left : {std::string("[General]\r\nAppName=Half"), std::string()}) {
    WriteFile(path_, original);
    WriteFile(temp_, left);
    IniFile ini(path_);
    // Also when the write changes nothing.
    ASSERT_TRUE(ini.WriteString("General", "AppName", "Demo"));
    EXPECT_FALSE(TempLeft());
    EXPECT_EQ(ReadFile(path_), original);
  }
  // A journal that no longer fits the file (the file was replaced since) cuts nothing.
  WriteFile(path_, original + "; a comment of the user's\r\n");
  WriteFile(temp_, FormatAppendJournal({original.size(), 0, 4}));
  IniFile ini(path_);
  ASSERT_TRUE(ini.WriteString("General", "AppVersion", "1"));
  EXPECT_NE(ReadFile(path_).find("; a comment of the user's"), std::string::npos);
  EXPECT_FALSE(TempLeft());
}

}  // namespace
