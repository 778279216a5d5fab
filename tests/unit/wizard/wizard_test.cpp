// The wizard driven through the headless form: page switches, texts and buttons, the checks of
// Next, the close request and the finish actions.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/exit_codes.h"
#include "app/run_state.h"
#include "install/uninstall_record.h"
#include "platform/file_system.h"
#include "platform/setup_error.h"
#include "platform/folders.h"
#include "platform/host/host_control.h"
#include "text/text_fixture.h"
#include "wizard/finish_actions.h"
#include "wizard/form1.h"

namespace {

constexpr const char* kLanguage =
    "[Info]\r\nlng=en\r\nid=1033\r\n"
    "[Buttons]\r\n0=< &Back\r\n1=&Next >\r\n2=&Cancel\r\n3=&Install\r\n"
    "7=B&rowse <AppName>...\r\n8=&Finish\r\n"
    "11=I &Agree\r\n"
    "[Language]\r\n0=Setup Language\r\n1=Select the language:\r\n"
    "[Welcome]\r\n0=Welcome to <AppName>\r\n1=Welcome text\r\n"
    "[LicenseAgreement]\r\n0=License\r\n1=Read it\r\n2=Instruction\r\n3=Click I Agree\r\n"
    "4=I accept the agreement\r\n"
    "[Readme]\r\n0=Readme\r\n1=Read me\r\n2=Instruction\r\n"
    "[UserInformation]\r\n0=User\r\n1=Enter\r\n2=Instruction\r\n3=&User Name:\r\n4=&Company:\r\n"
    "[DestinationFolder]\r\n0=Destination\r\n1=Please enter a valid folder.\r\n2=Where?\r\n"
    "3=Browse hint\r\n4=Folder\r\n5=Required: %s\r\n6=Available: %s\r\n"
    "7=Not enough space on drive %s\r\n"
    "[ShortcutsFolder]\r\n0=Please enter a group name.\r\n1=Group\r\n2=Instruction\r\n"
    "3=&Don't create a Start Menu folder\r\n4=Create a &desktop icon\r\n5=&Quick Launch && more\r\n"
    "[ReadyToInstall]\r\n0=Ready\r\n1=Ready now\r\n2=Instruction\r\n"
    "[Setup]\r\n0=Destination folder:\r\n1=Start Menu folder:\r\n2=Additional icons:\r\n"
    "[Install]\r\n0=Installing\r\n1=Please wait\r\n2=Preparing...\r\n"
    "[SetupComplete]\r\n0=Completed\r\n1=<AppName> is installed.\r\n2=There were errors.\r\n"
    "3=Click Finish.\r\n4=Launch\r\n5=View readme\r\n6=Restart needed\r\n7=Restart?\r\n8=Yes now\r\n"
    "9=Later\r\n"
    "[Messages]\r\n0=Exit Setup\r\n1=Abort?\r\n";

class WizardTest : public TextTest {
 protected:
  void SetUp() override {
    TextTest::SetUp();
    UseLanguageTable(kLanguage);
    view_.SetText(FormControl::Form, "Example Setup");
    view_.SetText(FormControl::Edit1, "C:\\Program Files\\App");
    view_.AddItem(FormControl::ComboBox1, "App");
    view_.SetItemIndex(FormControl::ComboBox1, 0);
    view_.AddItem(FormControl::ComboLng, "English");
    view_.SetItemIndex(FormControl::ComboLng, 0);
    RunState& run = ::Run();
    run.PageEnabled = {};
    run.CurrentPage = 0;
    run.FirstActivation = true;
    run.CancelRequested = false;
    run.InstallErrors = false;
  }
  void TearDown() override {
    ::Run().UninstallRecord.reset();
    host::SetFreeSpace(50LL << 30);
    TextTest::TearDown();
  }
  void Script(const std::string& setupKeys) {
    UseScript("[Setup]\r\nAppName=App\r\nAppVersion=1\r\n" + setupKeys);
  }
  void Pages(std::initializer_list<int> pages) {
    for (int page : pages) ::Run().PageEnabled[static_cast<size_t>(page)] = true;
  }
  std::vector<std::string> BoxTexts() const {
    std::vector<std::string> texts;
    for (const host::MessageBoxRecord& box : host::MessageBoxLog()) texts.push_back(box.text);
    return texts;
  }
  int Page() const { return ::Run().CurrentPage; }
};

TEST_F(WizardTest, AllPagesOffGoesStraightToTheInstallationAndTheEnd) {
  Script("DialogFinish=0\r\n");
  TForm1 form(view_);
  form.FormActivate();
  EXPECT_EQ(Page(), 10);
  EXPECT_TRUE(view_.Closed());  // the finish page pressed Finish itself
  EXPECT_EQ(view_.Position(FormControl::ProgressBar1), 100) << "the installation ran";
}

TEST_F(WizardTest, OnlyTheDestinationPageOffersInstallAndNoBack) {
  Script("DialogDestinationFolder=1\r\nFilesSize=7346\r\n");
  Pages({6});
  TForm1 form(view_);
  form.FormActivate();
  EXPECT_EQ(Page(), 6);
  EXPECT_EQ(view_.Text(FormControl::BtnNext), "&Install");
  EXPECT_FALSE(view_.Visible(FormControl::BtnBack));
  EXPECT_TRUE(view_.Visible(FormControl::P4));
  EXPECT_FALSE(view_.Visible(FormControl::Panel1));
  EXPECT_EQ(view_.Text(FormControl::LSpaceRequired), "Required: 7.17 KB");
  EXPECT_EQ(view_.Text(FormControl::LSpaceFree), "Available: 50.00 GB");
  EXPECT_EQ(view_.Text(FormControl::Label6), "Browse hint");
  EXPECT_EQ(view_.Text(FormControl::Button4), "B&rowse App...") << "the Browse caption is expanded";
}

TEST_F(WizardTest, PagesSkipBothWaysAndBackIsHiddenOnTheFirst) {
  Script("");
  Pages({2, 4, 7});
  TForm1 form(view_);
  form.FormActivate();
  EXPECT_EQ(Page(), 2);
  EXPECT_FALSE(view_.Visible(FormControl::BtnBack));
  EXPECT_EQ(view_.Text(FormControl::Label1), "Welcome to App");
  form.BtnNextClick();
  EXPECT_EQ(Page(), 4);
  EXPECT_TRUE(view_.Visible(FormControl::BtnBack));
  EXPECT_EQ(view_.Text(FormControl::BtnNext), "&Next >");
  form.BtnNextClick();
  EXPECT_EQ(Page(), 7);
  EXPECT_EQ(view_.Text(FormControl::BtnNext), "&Install");
  form.BtnBackClick();
  EXPECT_EQ(Page(), 4);
  form.BtnBackClick();
  EXPECT_EQ(Page(), 2);
}

TEST_F(WizardTest, LicenceAcceptanceBothWays) {
  WriteFile(std::string(kTempFolder) + "\\L(Default).rtf", "{\\rtf1 default licence}");
  Script("AcceptAgreement=1\r\n");
  Pages({2, 3});
  TForm1 form(view_);
  form.ShowPage(3, true);
  EXPECT_TRUE(view_.Visible(FormControl::CheckBox1));
  EXPECT_FALSE(view_.Checked(FormControl::CheckBox1));
  EXPECT_FALSE(view_.Enabled(FormControl::BtnNext));
  EXPECT_EQ(view_.Text(FormControl::RichEdit1), "{\\rtf1 default licence}");
  view_.SetChecked(FormControl::CheckBox1, true);
  form.CheckBox1Click();
  EXPECT_TRUE(view_.Enabled(FormControl::BtnNext));
  form.BtnBackClick();
  form.BtnNextClick();
  EXPECT_FALSE(view_.Checked(FormControl::CheckBox1)) << "cleared every time the page shows";
  EXPECT_FALSE(view_.Enabled(FormControl::BtnNext));

  Script("AcceptAgreement=0\r\n");
  WriteFile(std::string(kTempFolder) + "\\LEnglish.rtf", "{\\rtf1 english}");
  form.ShowPage(3, true);
  EXPECT_FALSE(view_.Visible(FormControl::CheckBox1));
  EXPECT_TRUE(view_.Checked(FormControl::CheckBox1));
  EXPECT_TRUE(view_.Visible(FormControl::Label11));
  EXPECT_EQ(view_.Text(FormControl::BtnNext), "I &Agree");
  EXPECT_EQ(view_.Text(FormControl::RichEdit1), "{\\rtf1 english}");
}

TEST_F(WizardTest, RequiredUserFieldsTakeTheFocusSilently) {
  const char* key = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
  host::RegistrySetValue(platform::RegistryRoot::LocalMachine, key, "RegisteredOwner",
                         host::RegistryString("Owner"));
  host::RegistrySetValue(platform::RegistryRoot::LocalMachine, key, "RegisteredOrganization",
                         host::RegistryString(""));
  Script("InfoUserName=1\r\nInfoUserNameReq=1\r\nInfoCompany=1\r\nInfoCompanyReq=1\r\n");
  Pages({5, 6});
  TForm1 form(view_);
  form.ShowPage(5, true);
  EXPECT_EQ(view_.Text(FormControl::LUser), "&User Name:*");
  EXPECT_EQ(view_.Text(FormControl::EUser), "Owner");
  EXPECT_EQ(view_.Focused(), FormControl::EUser);
  form.BtnNextClick();
  EXPECT_EQ(Page(), 5);
  EXPECT_EQ(view_.Focused(), FormControl::ECompany);
  EXPECT_TRUE(host::MessageBoxLog().empty());
  view_.SetText(FormControl::ECompany, " ");  // blanks count as filled
  form.BtnNextClick();
  EXPECT_EQ(Page(), 6);
}

TEST_F(WizardTest, DestinationChecks) {
  Script("FilesSize=1000\r\n");
  Pages({6, 7});
  TForm1 form(view_);
  struct Case {
    const char* folder;
    int64_t freeSpace;
    bool passes;
    const char* warning;
  } cases[] = {
      {"C:", 1 << 20, false, "Please enter a valid folder."},
      {"Q:\\App", 1 << 20, false, "Please enter a valid folder."},
      {"C:\\App", 999, false, "Not enough space on drive C:"},
      {"C:\\App", 1000, true, nullptr},
      {"c:\\new\\folder", 1 << 20, true, nullptr},
  };
  for (const Case& c : cases) {
    host::ClearMessageBoxLog();
    host::SetFreeSpace(c.freeSpace);
    form.ShowPage(6, true);
    view_.SetText(FormControl::Edit1, c.folder);
    form.BtnNextClick();
    EXPECT_EQ(Page(), c.passes ? 7 : 6) << c.folder;
    if (c.warning) {
      ASSERT_EQ(BoxTexts(), std::vector<std::string>{c.warning}) << c.folder;
      EXPECT_EQ(host::MessageBoxLog()[0].caption, "Example Setup");
      EXPECT_EQ(host::MessageBoxLog()[0].style, 0x30u);
    }
  }
}

TEST_F(WizardTest, EmptyGroupIsRefusedAndTheNoGroupBoxResetsTheName) {
  Script("ProgramGroup=<AppName> Tools\r\n");
  Pages({7, 8});
  TForm1 form(view_);
  form.ShowPage(7, true);
  view_.SetText(FormControl::ComboBox1, "");
  form.BtnNextClick();
  EXPECT_EQ(Page(), 7);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Please enter a group name."});
  view_.SetText(FormControl::ComboBox1, "Typed");
  view_.SetChecked(FormControl::CheckBox2, true);
  form.CheckBox2Click();
  EXPECT_EQ(view_.Text(FormControl::ComboBox1), "App Tools");
  EXPECT_FALSE(view_.Enabled(FormControl::ComboBox1));
  form.BtnNextClick();
  EXPECT_EQ(Page(), 8);
  EXPECT_EQ(view_.Text(FormControl::Memo1),
            "Destination folder:\r\n\tC:\\Program Files\\App\r\n\r\n");
}

TEST_F(WizardTest, SummaryShowsTheShortcutBoxesAsTheyRead) {
  Script("");
  Pages({7, 8});
  view_.SetVisible(FormControl::CheckBox3, true);
  view_.SetChecked(FormControl::CheckBox3, true);
  view_.SetVisible(FormControl::CheckBox4, true);
  view_.SetChecked(FormControl::CheckBox4, true);
  TForm1 form(view_);
  form.ShowPage(8, true);
  EXPECT_EQ(view_.Text(FormControl::Memo1),
            "Destination folder:\r\n\tC:\\Program Files\\App\r\n\r\n"
            "Start Menu folder:\r\n\tApp\r\n\r\n"
            "Additional icons:\r\n\tCreate a desktop icon\r\n\tQuick Launch & more\r\n");
}

TEST_F(WizardTest, CancelAsksAndOnlyYesLeaves) {
  Script("");
  Pages({2, 4});
  TForm1 form(view_);
  form.FormActivate();
  host::QueueAnswer(platform::kIdNo);
  form.BtnCancelClick();
  EXPECT_FALSE(view_.Closed());
  ASSERT_EQ(host::MessageBoxLog().size(), 1u);
  EXPECT_EQ(host::MessageBoxLog()[0].caption, "Exit Setup");
  EXPECT_EQ(host::MessageBoxLog()[0].style, 0x124u);
  form.BtnNextClick();
  host::QueueAnswer(platform::kIdYes);
  form.BtnCancelClick();
  EXPECT_TRUE(view_.Closed());
  EXPECT_EQ(::Run().SetupScript, nullptr) << "the run is released";
}

TEST_F(WizardTest, CancelWhileInstallingOnlyRequestsIt) {
  Script("");
  TForm1 form(view_);
  ::Run().CurrentPage = 9;
  host::QueueAnswer(platform::kIdYes);
  EXPECT_FALSE(form.FormCloseQuery());
  EXPECT_TRUE(::Run().CancelRequested);
}

TEST_F(WizardTest, FinishOptionsStartWhatIsTicked) {
  ASSERT_TRUE(platform::ForceFolders("C:\\App"));
  Script("LaunchFile=1\r\nLaunchFileChecked=1\r\nLaunchFileName=C:\\App\\app.exe /silent\r\n"
         "ViewReadme=1\r\nViewReadmeFile=C:\\App\\readme.txt\r\n"
         "CustomAction=1\r\nCustomActionChecked=1\r\nCustomActionCommand=https://example.com\r\n"
         "RestartComputer=1\r\nDialogFinish=1\r\n");
  Pages({9});
  TForm1 form(view_);
  size_t before = host::StartedLog().size();
  ::Run().InstallErrors = true;
  form.ShowPage(10, true);
  EXPECT_EQ(view_.Text(FormControl::Label2), "Restart needed");
  EXPECT_TRUE(view_.Visible(FormControl::RadioGroup1));
  EXPECT_FALSE(view_.Visible(FormControl::BtnCancel));
  EXPECT_EQ(view_.Text(FormControl::BtnNext), "&Finish");
  form.BtnNextClick();
  EXPECT_TRUE(view_.Closed());
  std::vector<std::string> started(host::StartedLog().begin() + static_cast<long>(before),
                                   host::StartedLog().end());
  EXPECT_EQ(started, (std::vector<std::string>{
                         "open app.exe parameters /silent folder C:\\App show 1",
                         "open https://example.com parameters  folder  show 1", "restart"}));
}

// Every choice of shown options, with and without the restart group: nothing the page shows
// lies under another control, and everything lies on the page beside the picture.
TEST_F(WizardTest, FinishPageShowsEveryOptionAndTheRestartChoice) {
  const FormControl boxes[] = {FormControl::CheckLaunchFile, FormControl::CheckViewReadme,
                               FormControl::CheckCustomRun};
  const char* keys[] = {"LaunchFile", "ViewReadme", "CustomAction"};
  Pages({9});
  for (int restart = 0; restart < 2; ++restart) {
    for (int mask = 0; mask < 8; ++mask) {
      std::string script = "DialogFinish=1\r\nRestartComputer=" + std::to_string(restart) + "\r\n";
      for (int i = 0; i < 3; ++i)
        script += std::string(keys[i]) + "=" + ((mask >> i) & 1 ? "1" : "0") + "\r\n";
      Script(script);
      TForm1 form(view_);
      form.ShowPage(10, true);
      SCOPED_TRACE("restart " + std::to_string(restart) + ", options " + std::to_string(mask));
      std::vector<ControlBounds> shown;
      for (int i = 0; i < 3; ++i) {
        ControlBounds box = view_.Bounds(boxes[i]);
        ASSERT_EQ(view_.Visible(boxes[i]), ((mask >> i) & 1) != 0);
        // Without the restart group each box keeps its own row.
        if (!restart) {
          EXPECT_EQ(box.top, 184 + 24 * i);
        }
        if (view_.Visible(boxes[i])) shown.push_back(box);
      }
      ASSERT_EQ(view_.Visible(FormControl::RadioGroup1), restart == 1);
      if (restart) {
        ControlBounds group = view_.Bounds(FormControl::RadioGroup1);
        EXPECT_EQ(group.height, 73);
        for (const ControlBounds& box : shown) EXPECT_LE(box.top + box.height, group.top);
        shown.push_back(group);
      }
      for (size_t a = 0; a < shown.size(); ++a) {
        const ControlBounds& one = shown[a];
        EXPECT_GE(one.left, 178);
        EXPECT_LE(one.left + one.width, 486);
        EXPECT_GE(one.top, 150) << "below the heading and the first lines of the text";
        EXPECT_LE(one.top + one.height, 314) << "on the page, above the button row";
        for (size_t b = a + 1; b < shown.size(); ++b) {
          const ControlBounds& other = shown[b];
          bool apart = one.top + one.height <= other.top || other.top + other.height <= one.top;
          EXPECT_TRUE(apart) << "controls " << a << " and " << b << " overlap";
        }
      }
    }
  }
}

TEST_F(WizardTest, TickedOptionsWithoutTargetStartNothing) {
  ASSERT_TRUE(platform::ForceFolders("C:\\App"));
  // UserCompany expands to nothing: the company field is empty.
  Script("LaunchFile=1\r\nLaunchFileChecked=1\r\nLaunchFileName=\r\n"
         "ViewReadme=1\r\nViewReadmeChecked=1\r\nViewReadmeFile=<UserCompany>\r\n"
         "CustomAction=1\r\nCustomActionChecked=1\r\nCustomActionCommand=C:\\App\\x.exe\r\n"
         "DialogFinish=1\r\n");
  Pages({9});
  TForm1 form(view_);
  size_t before = host::StartedLog().size();
  form.ShowPage(10, true);
  form.BtnNextClick();
  ASSERT_TRUE(view_.Closed());
  std::vector<std::string> started(host::StartedLog().begin() + static_cast<long>(before),
                                   host::StartedLog().end());
  EXPECT_EQ(started, std::vector<std::string>{"open x.exe parameters  folder C:\\App show 1"})
      << "only the option with a target starts, and the empty ones do not stop it";
}

struct ProcessEnded {
  int code;
};

// A form whose progress bar fails at the end of the installation: an error that nothing in the
// installation catches.
class FailingProgressView : public HeadlessFormView {
 public:
  void SetPosition(FormControl control, int position) override {
    if (control == FormControl::ProgressBar1 && position == 100)
      throw ESetupError("The progress bar failed.");
    HeadlessFormView::SetPosition(control, position);
  }
};

// An error that escapes the installation started by the wizard: the box, the clean-up and the
// exit code of a silent run, instead of a window left on the installing page.
TEST_F(WizardTest, ErrorEscapingTheInstallationEndsTheRun) {
  host::SetExitHandler([](int code) { throw ProcessEnded{code}; });
  ::Run().TempFolderCreated = true;
  ::Run().SetupTitle = "App 1";
  Script("");
  Pages({8});
  FailingProgressView failing;
  ::Run().Form = &failing;
  TForm1 form(failing);
  form.ShowPage(8, true);
  int code = -1;
  try {
    form.BtnNextClick();
  } catch (const ProcessEnded& ended) {
    code = ended.code;
  }
  ::Run().Form = &view_;
  EXPECT_EQ(code, kExitFatalInstallError);
  ASSERT_EQ(host::MessageBoxLog().size(), 1u);
  EXPECT_EQ(host::MessageBoxLog()[0].text, "The progress bar failed.");
  EXPECT_EQ(host::MessageBoxLog()[0].caption, "Setup - App 1");
  EXPECT_EQ(host::MessageBoxLog()[0].style, 0x10u);
  EXPECT_FALSE(platform::FolderExists(kTempFolder)) << "the temporary folder is deleted";
  EXPECT_EQ(::Run().SetupScript, nullptr) << "the run is released";
}

// Logging off with the wizard open: the run is released and the temporary folder deleted at
// once, whatever page is on screen; the finish options are not run.
TEST_F(WizardTest, EndOfTheSessionDeletesTheTemporaryFolder) {
  host::SetExitHandler([](int code) { throw ProcessEnded{code}; });
  struct Case {
    int page;
    int code;
  } cases[] = {{2, kExitCancelled}, {10, kExitInstalled}};
  for (const Case& c : cases) {
    ::Run().TempFolderCreated = true;
    ASSERT_TRUE(platform::ForceFolders(std::string(kTempFolder) + "\\sub"));
    Script("DialogFinish=1\r\nLaunchFile=1\r\nLaunchFileChecked=1\r\nLaunchFileName=C:\\x.exe\r\n");
    UseLanguageTable(kLanguage);
    Pages({2, 9});
    TForm1 form(view_);
    form.ShowPage(c.page, true);
    size_t before = host::StartedLog().size();
    int code = -1;
    try {
      view_.Events()->EndSession();
    } catch (const ProcessEnded& ended) {
      code = ended.code;
    }
    EXPECT_EQ(code, c.code) << c.page;
    EXPECT_FALSE(platform::FolderExists(kTempFolder)) << c.page;
    EXPECT_EQ(::Run().SetupScript, nullptr) << c.page;
    EXPECT_EQ(host::StartedLog().size(), before) << c.page << ": nothing is started";
  }
}

TEST(RunTarget, FolderAndNameParts) {
  struct Case {
    const char* text;
    const char* folder;
    const char* name;
  } cases[] = {
      {"C:\\App\\x.exe", "C:\\App", "x.exe"},
      {"C:\\x.exe", "C:\\", "x.exe"},
      {"C:x.exe", "C:", "x.exe"},
      {"\\\\server\\x.exe", "\\\\server", "x.exe"},
      {"x.exe", "", "x.exe"},
      {"https://example.com/a", "https:", "//example.com/a"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TargetFolder(c.text), c.folder) << c.text;
    EXPECT_EQ(TargetName(c.text), c.name) << c.text;
  }
}

TEST(FormatByteSize, PowersOfTwoWithTwoDecimals) {
  struct Case {
    int64_t bytes;
    const char* text;
  } cases[] = {{0, "0 Byte(s)"},          {1023, "1023 Byte(s)"},
               {1024, "1.00 KB"},         {7346, "7.17 KB"},
               {1048575, "1024.00 KB"},   {1048576, "1.00 MB"},
               {1610612736, "1.50 GB"},   {-5, "-5 Byte(s)"}};
  for (const Case& c : cases) EXPECT_EQ(FormatByteSize(c.bytes), c.text) << c.bytes;
}

}  // namespace

namespace {

// The example's own language file and script: each page in turn, its texts and which of its
// controls are shown, from the language page to the finish page.
class ExampleWizardTest : public TextTest {
 protected:
  void SetUp() override {
    TextTest::SetUp();
    std::string source = std::string(SETUP_SOURCE_DIR) + "/examples/";
    auto slurp = [](const std::string& path) {
      std::FILE* file = std::fopen(path.c_str(), "rb");
      std::string text;
      char buffer[4096];
      size_t read;
      while (file && (read = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, read);
      if (file) std::fclose(file);
      return text;
    };
    UseScript(slurp(source + "setup.ini"));
    UseLanguageTable(slurp(source + "English.lng"));
    view_.AddItem(FormControl::ComboLng, "English");
    view_.AddItem(FormControl::ComboLng, "German");
    view_.SetItemIndex(FormControl::ComboLng, 0);
    view_.SetText(FormControl::Edit1, "C:\\Program Files\\Example Notes");
    view_.AddItem(FormControl::ComboBox1, "Example Notes");
    view_.SetItemIndex(FormControl::ComboBox1, 0);
    RunState& run = ::Run();
    run.PageEnabled.fill(true);
    run.CurrentPage = 0;
    run.FirstActivation = true;
  }
  void TearDown() override {
    ::Run().UninstallRecord.reset();
    TextTest::TearDown();
  }
};

TEST_F(ExampleWizardTest, EveryPageShowsItsTextsAndControls) {
  TForm1 form(view_);
  struct Step {
    int page;
    FormControl panel, body, text;
    const char* expected;
  } steps[] = {
      {1, FormControl::Panel1, FormControl::ComboLng, FormControl::Label1, "Select Setup Language"},
      {2, FormControl::Panel1, FormControl::Panel1, FormControl::Label1,
       "Welcome to the Example Notes Setup Wizard"},
      {3, FormControl::Panel2, FormControl::P1, FormControl::Text1, "License Agreement"},
      {4, FormControl::Panel2, FormControl::P2, FormControl::Text1, "Information"},
      {5, FormControl::Panel2, FormControl::P3, FormControl::Text1, "User Information"},
      {6, FormControl::Panel2, FormControl::P4, FormControl::Text1, "Select Destination Location"},
      {7, FormControl::Panel2, FormControl::P5, FormControl::Text1, "Select Start Menu Folder"},
      {8, FormControl::Panel2, FormControl::P6, FormControl::Text1, "Ready to Install"},
  };
  form.FormActivate();
  for (const Step& step : steps) {
    ASSERT_EQ(::Run().CurrentPage, step.page);
    EXPECT_TRUE(view_.Visible(step.panel)) << step.page;
    EXPECT_TRUE(view_.Visible(step.body)) << step.page;
    EXPECT_EQ(view_.Text(step.text), step.expected) << step.page;
    EXPECT_EQ(view_.Visible(FormControl::BtnBack), step.page > 1) << step.page;
    // Exactly one page body is shown.
    int bodies = 0;
    for (FormControl body : {FormControl::P1, FormControl::P2, FormControl::P3, FormControl::P4,
                             FormControl::P5, FormControl::P6, FormControl::P7})
      bodies += view_.Visible(body) ? 1 : 0;
    EXPECT_EQ(bodies, step.page <= 2 ? 0 : 1) << step.page;
    if (step.page == 3) {
      view_.SetChecked(FormControl::CheckBox1, true);
      form.CheckBox1Click();
    }
    if (step.page == 8) {
      EXPECT_EQ(view_.Text(FormControl::BtnNext), "&Install");
      EXPECT_NE(view_.Text(FormControl::Memo1).find("\tC:\\Program Files\\Example Notes"),
                std::string::npos);
      break;
    }
    form.BtnNextClick();
  }
}

}  // namespace
