// [Others] entries: which system call each kind makes, what it records, and what a failure
// shows.
#include "install/other_tasks.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/ini_file.h"
#include "app/run_state.h"
#include "install/uninstall_record.h"
#include "platform/host/host_control.h"
#include "platform/host/host_system_register.h"
#include "platform/message_box.h"
#include "platform/registry.h"
#include "text/text_fixture.h"

namespace {

using Strings = std::vector<std::string>;
using platform::RegistryRoot;

const char* const kSections[] = {"Fonts", "ActiveX", "TypeLibrary", "ScreenSaver", "Wallpaper"};

class OtherTasksTest : public TextTest {
 protected:
  void SetUp() override {
    TextTest::SetUp();
    // The font status names a variable: status texts are shown as stored.
    UseLanguageTable(
        "[Install]\n7=Fonts of <AppName>\n8=Servers\n9=Type libraries\n"
        "[Messages]\n21=Font failed: %s\n22=Server failed: %s<#>Sorry.\n23=Library failed: %s\n");
    UseScript("[Setup]\nAppName=Demo\n");
    view_.SetText(FormControl::Edit1, "C:\\App");
    using namespace std::string_literals;
    WriteFile("C:\\App\\font.ttf", "\x00\x01\x00\x00 glyphs"s);
    WriteFile("C:\\App\\font.otf", "OTTO glyphs");
    WriteFile("C:\\App\\notes.ttf", "plain text");
    WriteFile("C:\\App\\server.dll", "MZ code DllRegisterServer code");
    WriteFile("C:\\App\\plain.dll", "MZ code");
    WriteFile("C:\\App\\failing.dll", "MZ code DllRegisterServer:fail");
    WriteFile("C:\\App\\notes.dll", "plain text DllRegisterServer");
    WriteFile("C:\\App\\types.tlb", "MSFT types");
    WriteFile("C:\\App\\refused.tlb", "MSFT RegisterTypeLib:fail");
    WriteFile("C:\\App\\notes.tlb", "plain text");
    WriteFile("C:\\App\\saver.scr", "MZ saver");
    WriteFile("C:\\App\\wall.bmp", "BM pixels");
    WriteFile("C:\\App\\empty.bmp", "");
    ::Run().InstallErrors = false;
    OpenRecord();
    Mark();
  }
  void TearDown() override {
    ::Run().UninstallRecord.reset();
    ::Run().InstallErrors = false;
    TextTest::TearDown();
  }

  static std::string RecordPath() { return "C:\\App\\Uninstall.ini"; }

  void OpenRecord() {
    ::Run().UninstallRecord.reset();
    std::remove(Host(RecordPath()).c_str());
    ::Run().UninstallRecord = std::make_unique<TUninstallRecord>(RecordPath());
  }

  // Starts a fresh observation: logs, pauses, the status line and the error flag.
  void Mark() {
    started_ = host::StartedLog().size();
    system_ = host::SystemRegisterLog().size();
    slept_ = host::SleptMilliseconds();
    host::ClearMessageBoxLog();
    view_.SetText(FormControl::Label8, "before");
    ::Run().InstallErrors = false;
  }

  static Strings Since(const Strings& log, size_t from) {
    return Strings(log.begin() + static_cast<long>(from), log.end());
  }
  Strings Started() const { return Since(host::StartedLog(), started_); }
  Strings SystemCalls() const { return Since(host::SystemRegisterLog(), system_); }
  uint64_t Slept() const { return host::SleptMilliseconds() - slept_; }
  std::string Status() const { return view_.Text(FormControl::Label8); }

  // A section of the record as the uninstaller reads it from the disk.
  Strings Records(const std::string& section) const {
    IniFile file(RecordPath());
    Strings values;
    for (const std::string& key : file.ReadSectionComplete(section))
      values.push_back(file.ReadString(section, key, ""));
    return values;
  }
  // Every section of the record that holds something, as "Section=value".
  Strings AllRecords() const {
    Strings all;
    for (const char* section : kSections)
      for (const std::string& value : Records(section))
        all.push_back(std::string(section) + "=" + value);
    return all;
  }

  std::optional<std::string> DesktopValue(const std::string& name) const {
    std::optional<platform::RegistryValue> value =
        platform::RegistryReadValue(RegistryRoot::CurrentUser, "Control Panel\\Desktop", name);
    if (!value) return std::nullopt;
    EXPECT_EQ(value->type, platform::RegistryValueType::String) << name;
    return value->data;
  }

 private:
  size_t started_ = 0;
  size_t system_ = 0;
  uint64_t slept_ = 0;
};

TEST_F(OtherTasksTest, EachKindHandsTheFileToTheSystemAndRecordsItUnlessKept) {
  struct Case {
    const char* entry;
    Strings records;  // "Section=value"
    const char* status;
    Strings calls;
    Strings started;
  };
  const std::string open = "open rundll32.exe parameters ";
  const Case cases[] = {
      {"Font*?<InstallDir>\\font.ttf*?No",
       {"Fonts=C:\\App\\font.ttf"},
       "Fonts of <AppName>",
       {"font C:\\App\\font.ttf added", "font change"},
       {}},
      {"Font*?<InstallDir>\\font.otf*?Yes",
       {},
       "Fonts of <AppName>",
       {"font C:\\App\\font.otf added", "font change"},
       {}},
      {"ActiveX*?<InstallDir>\\server.dll*?No",
       {"ActiveX=C:\\App\\server.dll"},
       "Servers",
       {"register-server C:\\App\\server.dll registered"},
       {}},
      {"ActiveX*?<InstallDir>\\server.dll*?Yes",
       {},
       "Servers",
       {"register-server C:\\App\\server.dll registered"},
       {}},
      // Without DllRegisterServer the library is handed to rundll32, and counts as registered.
      {"ActiveX*?<InstallDir>\\plain.dll*?No",
       {"ActiveX=C:\\App\\plain.dll"},
       "Servers",
       {"register-server C:\\App\\plain.dll no entry point"},
       {open + "/s C:\\App\\plain.dll folder  show 1"}},
      {"Type Library*?<InstallDir>\\types.tlb*?No",
       {"TypeLibrary=C:\\App\\types.tlb"},
       "Type libraries",
       {"typelib C:\\App\\types.tlb help C:\\App registered"},
       {}},
      // Only "Yes" keeps.
      {"Type Library*?<InstallDir>\\types.tlb*?yes",
       {"TypeLibrary=C:\\App\\types.tlb"},
       "Type libraries",
       {"typelib C:\\App\\types.tlb help C:\\App registered"},
       {}},
      // Screen savers and wallpapers are recorded whatever the keep flag says, and leave the
      // status line alone.
      {"ScreenSaver*?<InstallDir>\\saver.scr*?Yes",
       {"ScreenSaver=C:\\App\\saver.scr"},
       "before",
       {},
       {open + "desk.cpl,InstallScreenSaver C:\\App\\saver.scr folder  show 1"}},
      {"Wallpaper*?<InstallDir>\\wall.bmp*?Yes",
       {"Wallpaper=C:\\App\\wall.bmp"},
       "before",
       {"wallpaper C:\\App\\wall.bmp applied"},
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.entry);
    OpenRecord();
    Mark();
    ApplyOtherTask(c.entry);
    EXPECT_EQ(AllRecords(), c.records);
    EXPECT_EQ(Status(), c.status);
    EXPECT_EQ(SystemCalls(), c.calls);
    EXPECT_EQ(Started(), c.started);
    EXPECT_TRUE(host::MessageBoxLog().empty());
    EXPECT_FALSE(::Run().InstallErrors);
    EXPECT_EQ(Slept(), 100u);
  }
}

TEST_F(OtherTasksTest, FailuresShowTheirMessageRecordNothingAndStillPause) {
  struct Case {
    const char* entry;
    const char* message;
    Strings calls;
  };
  const Case cases[] = {
      // A rejected font is not announced to the windows either.
      {"Font*?C:\\App\\notes.ttf*?No",
       "Font failed: C:\\App\\notes.ttf",
       {"font C:\\App\\notes.ttf rejected"}},
      {"ActiveX*?C:\\App\\failing.dll*?No",
       "Server failed: C:\\App\\failing.dll\r\nSorry.",
       {"register-server C:\\App\\failing.dll failed"}},
      // A file that is no library at all cannot have been registered: reported, not skipped.
      {"ActiveX*?C:\\App\\notes.dll*?Yes",
       "Server failed: C:\\App\\notes.dll\r\nSorry.",
       {"register-server C:\\App\\notes.dll not loaded"}},
      {"Type Library*?C:\\App\\refused.tlb*?No",
       "Library failed: C:\\App\\refused.tlb",
       {"typelib C:\\App\\refused.tlb help C:\\App failed"}},
      {"Type Library*?C:\\App\\notes.tlb*?No",
       "Library failed: C:\\App\\notes.tlb",
       {"typelib C:\\App\\notes.tlb help C:\\App not loaded"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.entry);
    Mark();
    ApplyOtherTask(c.entry);
    ASSERT_EQ(host::MessageBoxLog().size(), 1u);
    const host::MessageBoxRecord& box = host::MessageBoxLog()[0];
    EXPECT_EQ(box.text, c.message);
    EXPECT_EQ(box.caption, "Setup");
    EXPECT_EQ(box.style, platform::kMbOk | platform::kMbIconError);
    EXPECT_TRUE(::Run().InstallErrors);
    EXPECT_EQ(SystemCalls(), c.calls);
    EXPECT_TRUE(Started().empty());
    EXPECT_EQ(Slept(), 100u);
  }
  EXPECT_TRUE(AllRecords().empty());
}

TEST_F(OtherTasksTest, MissingFileIsReportedAndSkippedWithoutPause) {
  for (const char* entry :
       {"Font*?<InstallDir>\\missing.ttf*?No", "ScreenSaver*?<InstallDir>\\missing.ttf*?No",
        // A folder is no file.
        "Wallpaper*?<InstallDir>*?No", "Anything*?C:\\App\\missing.ttf*?No"}) {
    SCOPED_TRACE(entry);
    Mark();
    ApplyOtherTask(entry);
    ASSERT_EQ(host::MessageBoxLog().size(), 1u);
    const host::MessageBoxRecord& box = host::MessageBoxLog()[0];
    EXPECT_EQ(box.text.rfind("File not found:\r\nC:\\App", 0), 0u) << box.text;
    EXPECT_EQ(box.caption, "Setup");
    EXPECT_EQ(box.style, platform::kMbOk | platform::kMbIconError);
    EXPECT_TRUE(::Run().InstallErrors);
    EXPECT_EQ(Status(), "before");
    EXPECT_TRUE(SystemCalls().empty());
    EXPECT_TRUE(Started().empty());
    EXPECT_EQ(Slept(), 0u);
  }
  EXPECT_EQ(host::MessageBoxLog()[0].text, "File not found:\r\nC:\\App\\missing.ttf");
  EXPECT_TRUE(AllRecords().empty());
}

TEST_F(OtherTasksTest, UnknownKindsOnlyPauseAndWrongFieldCountsDoNothing) {
  struct Case {
    const char* entry;
    uint64_t pause;
  };
  const Case cases[] = {
      {"font*?C:\\App\\font.ttf*?No", 100},
      {"ACTIVEX*?C:\\App\\server.dll*?No", 100},
      {"Screensaver*?C:\\App\\saver.scr*?No", 100},
      {"TypeLibrary*?C:\\App\\types.tlb*?No", 100},
      {" Wallpaper*?C:\\App\\wall.bmp*?No", 100},
      {"Font*?C:\\App\\font.ttf", 0},
      {"Font*?C:\\App\\font.ttf*?No*?", 100},  // a separator at the end opens no field
      {"Font*?C:\\App\\font.ttf*?No*?Extra", 0},
      {"Font*?C:\\App\\missing.ttf", 0},
      {"", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.entry);
    Mark();
    ApplyOtherTask(c.entry);
    EXPECT_EQ(Slept(), c.pause);
    EXPECT_TRUE(host::MessageBoxLog().empty());
    EXPECT_FALSE(::Run().InstallErrors);
  }
  // Only the entry with the trailing separator was a real font entry.
  EXPECT_EQ(AllRecords(), Strings{"Fonts=C:\\App\\font.ttf"});
}

TEST_F(OtherTasksTest, WallpaperIsWrittenUntiledOverThePreviousSetting) {
  ASSERT_TRUE(host::RegistrySetValue(RegistryRoot::CurrentUser, "Control Panel\\Desktop",
                                     "Wallpaper", host::RegistryString("C:\\old.bmp")));
  ASSERT_TRUE(host::RegistrySetValue(RegistryRoot::CurrentUser, "Control Panel\\Desktop",
                                     "TileWallpaper", host::RegistryString("1")));
  ApplyOtherTask("Wallpaper*?<InstallDir>\\wall.bmp*?No");
  EXPECT_EQ(DesktopValue("Wallpaper"), "C:\\App\\wall.bmp");
  EXPECT_EQ(DesktopValue("TileWallpaper"), "0");

  // A user without the key yet gets it created.
  ASSERT_TRUE(platform::RegistryDeleteKey(RegistryRoot::CurrentUser, "Control Panel"));
  ApplyOtherTask("Wallpaper*?C:\\App\\wall.bmp*?No");
  EXPECT_EQ(DesktopValue("Wallpaper"), "C:\\App\\wall.bmp");
  EXPECT_EQ(DesktopValue("TileWallpaper"), "0");
  EXPECT_EQ(AllRecords(), Strings{"Wallpaper=C:\\App\\wall.bmp"});
}

TEST_F(OtherTasksTest, WallpaperTheSystemRefusesIsNotRecordedNorReported) {
  ApplyOtherTask("Wallpaper*?C:\\App\\empty.bmp*?No");
  EXPECT_EQ(DesktopValue("Wallpaper"), "C:\\App\\empty.bmp");
  EXPECT_EQ(SystemCalls(), Strings{"wallpaper C:\\App\\empty.bmp refused"});
  EXPECT_TRUE(host::MessageBoxLog().empty());
  EXPECT_FALSE(::Run().InstallErrors);
  EXPECT_TRUE(AllRecords().empty());
  EXPECT_EQ(Slept(), 100u);
}

}  // namespace
