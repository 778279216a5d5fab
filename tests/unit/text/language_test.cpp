#include "text/language.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/exit_codes.h"
#include "app/run_state.h"
#include "platform/file_system.h"
#include "platform/folders.h"
#include "platform/host/host_control.h"
#include "text/variables.h"
#include "text_fixture.h"

namespace {

struct ExitCalled : std::runtime_error {
  explicit ExitCalled(int exitCode) : std::runtime_error("exit"), code(exitCode) {}
  int code;
};

// A language file whose texts name the language, so tests see which one was applied.
std::string LanguageText(const std::string& name, const std::string& id) {
  return "[Info]\r\nid=" + id + "\r\nlng=" + name.substr(0, 2) + "\r\n" + "[Title]\r\n0=" + name +
         " <AppName> <AppVersion>\r\n" + "[Language]\r\n0=" + name +
         " heading <AppName>\r\n1=" + name + " prompt<#>below\r\n" + "[Buttons]\r\n0=< " + name +
         " back\r\n1=" + name + " next <AppName>\r\n2=" + name + " cancel\r\n";
}

class LanguageTest : public TextTest {
 protected:
  void SetUp() override {
    TextTest::SetUp();
    host::SetLanguageId(1033);
    host::SetExitHandler([](int code) { throw ExitCalled(code); });
  }

  void Script(const std::string& setupKeys) {
    UseScript("[Setup]\r\nAppName=Demo\r\nAppVersion=\r\n" + setupKeys);
  }

  // Base names of the language files in the order the file system lists the folder.
  std::vector<std::string> ListedOrder() const {
    std::vector<std::string> names;
    for (const platform::FolderEntry& entry : platform::FolderList(kTempFolder)) {
      if (entry.name.size() > 4 && entry.name.substr(entry.name.size() - 4) == ".lng")
        names.push_back(entry.name.substr(0, entry.name.size() - 4));
    }
    return names;
  }

  std::string Selected() const { return view_.Text(FormControl::ComboLng); }
};

TEST_F(LanguageTest, TheDefaultLanguageIsMatchedExactly) {
  WriteLanguage("English", LanguageText("English", "1033"));
  WriteLanguage("Deutsch", LanguageText("Deutsch", "1031"));
  const struct {
    const char* keys;
    const char* selected;
  } cases[] = {
      {"", "English"},  // the default of DefaultLanguage
      {"DefaultLanguage=Deutsch\r\n", "Deutsch"},
      {"DefaultLanguage=english\r\n", ""},
      {"DefaultLanguage=Deutsch.lng\r\n", ""},
      {"DefaultLanguage=Francais\r\n", ""},
  };
  for (const auto& c : cases) {
    Script(c.keys);
    LoadLanguages();
    EXPECT_EQ(view_.Items(FormControl::ComboLng), ListedOrder()) << c.keys;
    EXPECT_EQ(Selected(), c.selected) << c.keys;
    if (*c.selected) {
      EXPECT_EQ(ReadText("Buttons", 2), std::string(c.selected) + " cancel") << c.keys;
      EXPECT_EQ(ExpandVariables("<Language>|<Lng>"),
                std::string(c.selected) + "|" + std::string(c.selected).substr(0, 2));
    } else {
      // Nothing selected: the table is the file with the empty name, and reads empty.
      EXPECT_EQ(view_.ItemIndex(FormControl::ComboLng), -1) << c.keys;
      EXPECT_EQ(ReadText("Buttons", 2), "") << c.keys;
      EXPECT_EQ(view_.Text(FormControl::Form), "") << c.keys;
      ASSERT_TRUE(::Run().LanguageTable);
      EXPECT_EQ(::Run().LanguageTable->Path(), std::string(kTempFolder) + "\\.lng");
    }
  }
}

TEST_F(LanguageTest, AutoDetectionPicksTheFileWithTheSystemLanguageId) {
  WriteLanguage("English", LanguageText("English", "1033"));
  WriteLanguage("Deutsch", LanguageText("Deutsch", "1031"));
  const struct {
    uint16_t systemId;
    const char* keys;
    const char* selected;
  } cases[] = {
      {1031, "AutoDetectLanguage=1\r\n", "Deutsch"},
      {1031, "AutoDetectLanguage=0\r\n", "English"},
      {1031, "", "English"},
      // No match keeps the default language.
      {1036, "AutoDetectLanguage=1\r\n", "English"},
      {1036, "AutoDetectLanguage=1\r\nDefaultLanguage=Deutsch\r\n", "Deutsch"},
      // Detection overrides the default.
      {1033, "AutoDetectLanguage=1\r\nDefaultLanguage=Deutsch\r\n", "English"},
  };
  for (const auto& c : cases) {
    host::SetLanguageId(c.systemId);
    Script(c.keys);
    LoadLanguages();
    EXPECT_EQ(Selected(), c.selected) << c.systemId << " " << c.keys;
  }
}

TEST_F(LanguageTest, IdsAreComparedAsDecimalText) {
  WriteLanguage("Hex", LanguageText("Hex", "0x407"));
  WriteLanguage("Padded", LanguageText("Padded", "01031"));
  WriteLanguage("Signed", LanguageText("Signed", "+1031"));
  host::SetLanguageId(1031);
  Script("AutoDetectLanguage=1\r\nDefaultLanguage=none\r\n");
  LoadLanguages();
  EXPECT_EQ(view_.ItemIndex(FormControl::ComboLng), -1);
  EXPECT_EQ(ExpandVariables("[<LngID>]"), "[]");
}

TEST_F(LanguageTest, TheLastMatchingFileInListedOrderWins) {
  for (const char* name : {"Alpha", "Bravo", "Charlie", "Delta"})
    WriteLanguage(name, LanguageText(name, std::string(name) == "Bravo" ? "1033" : "1031"));
  host::SetLanguageId(1031);
  Script("AutoDetectLanguage=1\r\n");
  LoadLanguages();
  std::vector<std::string> listed = ListedOrder();
  ASSERT_EQ(listed.size(), 4u);
  auto last = std::find_if(listed.rbegin(), listed.rend(),
                           [](const std::string& name) { return name != "Bravo"; });
  EXPECT_EQ(Selected(), *last);
  EXPECT_EQ(view_.Items(FormControl::ComboLng), listed);  // not sorted
}

TEST_F(LanguageTest, OnlyFilesEndingInLngAreListed) {
  WriteLanguage("English", LanguageText("English", "1033"));
  WriteFile(std::string(kTempFolder) + "\\Upper.LNG", LanguageText("Upper", "1"));
  WriteFile(std::string(kTempFolder) + "\\notes.lng.txt", "x");
  WriteFile(std::string(kTempFolder) + "\\setup.ini", "[Setup]\r\n");
  ASSERT_TRUE(platform::ForceFolders(std::string(kTempFolder) + "\\Folder.lng"));
  Script("");
  LoadLanguages();
  std::vector<std::string> items = view_.Items(FormControl::ComboLng);
  std::sort(items.begin(), items.end());
  EXPECT_EQ(items, (std::vector<std::string>{"English", "Upper"}));
}

TEST_F(LanguageTest, NoLanguageFileStopsAsACorruptedSetup) {
  WriteFile(std::string(kTempFolder) + "\\setup.ini", "[Setup]\r\nAppName=Demo\r\n");
  ASSERT_TRUE(platform::ForceFolders(std::string(kTempFolder) + "\\English.lng"));
  Script("");
  ::Run().UserVariables = {"<X>?1"};
  ::Run().TempFolderCreated = true;
  try {
    LoadLanguages();
    FAIL() << "LoadLanguages returned";
  } catch (const ExitCalled& exit) {
    EXPECT_EQ(exit.code, kExitCorrupted);
  }
  ASSERT_EQ(host::MessageBoxLog().size(), 1u);
  EXPECT_EQ(host::MessageBoxLog()[0].text, "The setup file is corrupted.");
  EXPECT_EQ(host::MessageBoxLog()[0].caption, "Error");
  EXPECT_FALSE(::Run().SetupScript);
  EXPECT_TRUE(::Run().UserVariables.empty());
  EXPECT_FALSE(platform::FolderExists(kTempFolder));
}

TEST_F(LanguageTest, ApplyingSetsCaptionsLabelsAndButtons) {
  WriteLanguage("English", LanguageText("English", "1033"));
  Script("");
  ApplyLanguage(std::string(kTempFolder) + "\\English.lng");
  // The empty version keeps the blank in front of it.
  EXPECT_EQ(view_.Text(FormControl::Form), "English Demo ");
  EXPECT_EQ(view_.ApplicationTitle(), "English Demo ");
  EXPECT_EQ(view_.Text(FormControl::Label1), "English heading Demo");
  EXPECT_EQ(view_.Text(FormControl::Label2), "English prompt\r\nbelow");
  // Button captions are shown as stored: no variables.
  EXPECT_EQ(view_.Text(FormControl::BtnBack), "< English back");
  EXPECT_EQ(view_.Text(FormControl::BtnNext), "English next <AppName>");
  EXPECT_EQ(view_.Text(FormControl::BtnCancel), "English cancel");
  EXPECT_EQ(ReadText("Title", 0), "English <AppName> <AppVersion>");
  EXPECT_EQ(ReadText("Title", 1), "");
  EXPECT_EQ(ReadText("Missing", 0), "");
}

TEST_F(LanguageTest, AMissingFileReadsEmpty) {
  view_.SetText(FormControl::BtnNext, "old");
  ApplyLanguage(std::string(kTempFolder) + "\\Nowhere.lng");
  EXPECT_EQ(view_.Text(FormControl::BtnNext), "");
  EXPECT_EQ(ReadText("Buttons", 1), "");
  ::Run().LanguageTable.reset();
  EXPECT_EQ(ReadText("Buttons", 1), "");
}

TEST_F(LanguageTest, SwitchingAppliesTheNewSelectionAndFocusesTheBox) {
  WriteLanguage("English", LanguageText("English", "1033"));
  WriteLanguage("Deutsch", LanguageText("Deutsch", "1031"));
  Script("");
  LoadLanguages();
  std::vector<std::string> items = view_.Items(FormControl::ComboLng);
  int deutsch = static_cast<int>(std::find(items.begin(), items.end(), "Deutsch") - items.begin());
  view_.SetItemIndex(FormControl::ComboLng, deutsch);
  view_.SetFocus(FormControl::BtnNext);
  ComboLngChange();
  EXPECT_EQ(view_.Text(FormControl::Form), "Deutsch Demo ");
  EXPECT_EQ(view_.ApplicationTitle(), "Deutsch Demo ");
  EXPECT_EQ(view_.Text(FormControl::Label1), "Deutsch heading Demo");
  EXPECT_EQ(view_.Text(FormControl::BtnBack), "< Deutsch back");
  EXPECT_EQ(view_.Text(FormControl::BtnNext), "Deutsch next <AppName>");
  EXPECT_EQ(view_.Text(FormControl::BtnCancel), "Deutsch cancel");
  EXPECT_EQ(view_.Focused(), FormControl::ComboLng);
  EXPECT_EQ(ExpandVariables("<Language> <Lng> <LngID>"), "Deutsch De 1031");

  // A box that cannot take the focus does not get it.
  view_.SetVisible(FormControl::ComboLng, false);
  view_.SetFocus(FormControl::BtnNext);
  view_.SetItemIndex(FormControl::ComboLng, 1 - deutsch);
  ComboLngChange();
  EXPECT_EQ(view_.Text(FormControl::BtnCancel), "English cancel");
  EXPECT_EQ(view_.Focused(), FormControl::BtnNext);
}

}  // namespace
