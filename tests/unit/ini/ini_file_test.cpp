#include "app/ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/host/host_control.h"
#include "support/sandbox.h"

namespace {

using Names = std::vector<std::string>;

class IniFileTest : public SandboxTest {
 protected:
  const std::string path_ = "C:\\App\\Uninstall.ini";

  void SetUp() override {
    SandboxTest::SetUp();
    std::filesystem::create_directories(Host("C:\\App"));
  }
  // Nothing but the file itself in its folder: no temporary sibling left behind.
  Names FolderNames() const {
    Names names;
    for (const auto& entry : std::filesystem::directory_iterator(Host("C:\\App"))) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }
};

TEST_F(IniFileTest, MissingFileReadsDefaultsAndIsCreatedByTheFirstWrite) {
  IniFile ini(path_);
  EXPECT_EQ(ini.ReadString("General", "AppName", "none"), "none");
  EXPECT_TRUE(ini.ReadSection("Files").empty());
  EXPECT_FALSE(platform::FileExists(path_)) << "reading creates nothing";

  ASSERT_TRUE(ini.WriteString("General", "AppName", "Demo"));
  EXPECT_EQ(ReadFile(path_), "[General]\r\nAppName=Demo\r\n");
  EXPECT_EQ(FolderNames(), Names{"Uninstall.ini"});
}

// The fixture as the authoring tool writes it, reached through the drive that maps to "/".
TEST_F(IniFileTest, ReadsTheFixtureSetupScript) {
  IniFile ini(host::WindowsPathOf(SETUP_TEST_DATA "/ini/setup.ini"));
  EXPECT_EQ(ini.ReadString("Setup", "AppName", ""), "Demo Application");
  EXPECT_TRUE(ini.ReadBool("Setup", "WinXP", true)) << "yes is no integer";
  EXPECT_FALSE(ini.ReadBool("Setup", "Win2000", true));
  EXPECT_EQ(ini.ReadInteger("Setup", "FilesCount", 0), 2);
  EXPECT_EQ(ini.ReadString("Files", "1", ""), "<InstallDir>\\readme.txt?40?Skip?Yes");
  EXPECT_EQ(ini.ReadSection("Shortcuts"), (Names{"a", "b"}));
  EXPECT_EQ(ini.ReadString("Setup", "LongText", "").size(), 2047u);
}

TEST_F(IniFileTest, EveryWriteIsOnDiskAtOnceAndTheRestStaysByteForByte) {
  const std::string original =
      "; written by hand\n[Messages]\r\n0=Remove <AppName>?\r\n\r\n[General]\nAppName = Old \n";
  WriteFile(path_, original);
  IniFile ini(path_);
  // A second name of the same file shows whether a write went into it or replaced it.
  const std::string link = "C:\\App\\link.ini";
  std::filesystem::create_hard_link(Host(path_), Host("C:\\App") + "/link.ini");

  ASSERT_TRUE(ini.WriteString("General", "InstallDir", "C:\\App"));
  EXPECT_EQ(ReadFile(path_), original + "InstallDir=C:\\App\r\n");
  EXPECT_EQ(ReadFile(link), ReadFile(path_)) << "appended in place";
  ASSERT_TRUE(ini.WriteString("Messages", "1", "Done"));
  EXPECT_NE(ReadFile(link), ReadFile(path_)) << "replaced as a whole";
  std::filesystem::remove(Host(link));
  EXPECT_EQ(ReadFile(path_),
            "; written by hand\n[Messages]\r\n0=Remove <AppName>?\r\n1=Done\r\n\r\n"
            "[General]\nAppName = Old \nInstallDir=C:\\App\r\n");
  ASSERT_TRUE(ini.WriteString("general", "appname", "New"));
  ASSERT_TRUE(ini.WriteString("Files", "0", "C:\\App\\a.exe"));
  const std::string expected =
      "; written by hand\n[Messages]\r\n0=Remove <AppName>?\r\n1=Done\r\n\r\n"
      "[General]\nAppName = New\nInstallDir=C:\\App\r\n[Files]\r\n0=C:\\App\\a.exe\r\n";
  EXPECT_EQ(ReadFile(path_), expected);
  EXPECT_EQ(ini.Image().Serialize(), expected);
  EXPECT_EQ(FolderNames(), Names{"Uninstall.ini"});

  IniFile other(path_);
  EXPECT_EQ(other.ReadString("General", "AppName", ""), "New");
  EXPECT_EQ(other.ReadSection("Files"), Names{"0"});
}

TEST_F(IniFileTest, BatchOfWritesReachesTheDiskTogether) {
  WriteFile(path_, "[Files]\r\n0=a\r\n[Folders]\r\n0=C:\\App\r\n");
  IniFile ini(path_);
  std::vector<IniWrite> writes;
  for (int i = 1; i <= 3; ++i)
    writes.push_back({"Files", std::to_string(i), "f" + std::to_string(i)});
  ASSERT_TRUE(ini.WriteStrings(writes));
  EXPECT_EQ(ReadFile(path_),
            "[Files]\r\n0=a\r\n1=f1\r\n2=f2\r\n3=f3\r\n[Folders]\r\n0=C:\\App\r\n");

  // A refused write does not stop the others.
  EXPECT_FALSE(ini.WriteStrings({{"Folders", "", "x"}, {"Folders", "1", "C:\\App\\sub"}}));
  EXPECT_EQ(IniFile(path_).ReadString("Folders", "1", ""), "C:\\App\\sub");
  EXPECT_TRUE(ini.WriteStrings({}));
}

TEST_F(IniFileTest, AFileChangedBehindTheObjectIsReplacedNotAppendedAtAStaleOffset) {
  WriteFile(path_, "[Files]\r\n0=a\r\n");
  IniFile ini(path_);
  WriteFile(path_, "[Files]\r\n0=a\r\n1=someone else\r\n");
  ASSERT_TRUE(ini.WriteString("Files", "1", "b"));
  EXPECT_EQ(ReadFile(path_), "[Files]\r\n0=a\r\n1=b\r\n");

  ini.Reload();
  WriteFile(path_, "[Files]\r\n0=x\r\n1=b\r\n2=c\r\n");
  ini.Reload();
  EXPECT_EQ(ini.ReadString("Files", "2", ""), "c");
}

TEST_F(IniFileTest, FailedWritesLeaveDiskAndImageAsTheyWere) {
  const std::string original = "[General]\r\nAppName=Demo\r\n[Files]\r\n0=a\r\n";
  WriteFile(path_, original);
  IniFile ini(path_);
  ASSERT_TRUE(platform::FileAttributesSet(path_, platform::kAttrReadOnly));
  struct Attempt {
    const char* what;
    const char* section;
    const char* key;
  };
  for (const Attempt& a :
       {Attempt{"append in place", "Files", "1"}, Attempt{"replace a value", "General", "AppName"},
        Attempt{"add a section", "Folders", "0"}}) {
    SCOPED_TRACE(a.what);
    EXPECT_FALSE(ini.WriteString(a.section, a.key, "changed"));
    EXPECT_EQ(ReadFile(path_), original);
    EXPECT_EQ(ini.Image().Serialize(), original);
    EXPECT_NE(ini.ReadString(a.section, a.key, ""), "changed");
  }
  EXPECT_EQ(FolderNames(), Names{"Uninstall.ini"});

  IniFile nowhere("C:\\Missing\\Folder\\x.ini");
  EXPECT_FALSE(nowhere.WriteString("S", "k", "v"));
  EXPECT_EQ(nowhere.ReadString("S", "k", "none"), "none");
}

TEST_F(IniFileTest, HiddenSystemFileStaysHidden) {
  const std::string desktop = "C:\\App\\desktop.ini";
  WriteFile(desktop, "[.ShellClassInfo]\r\nIconIndex=0\r\n[Other]\r\n");
  ASSERT_TRUE(platform::FileAttributesSet(desktop, platform::kAttrHidden | platform::kAttrSystem));
  IniFile ini(desktop);
  ASSERT_TRUE(ini.WriteString(".ShellClassInfo", "IconFile", "app.ico"));
  EXPECT_EQ(ReadFile(desktop),
            "[.ShellClassInfo]\r\nIconIndex=0\r\nIconFile=app.ico\r\n[Other]\r\n");
  const uint32_t attributes = platform::FileAttributesGet(desktop);
  EXPECT_EQ(attributes & (platform::kAttrHidden | platform::kAttrSystem),
            platform::kAttrHidden | platform::kAttrSystem);
}

}  // namespace
