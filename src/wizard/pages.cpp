// The wizard's pages: which one shows, what it shows, which buttons it offers.
#include <array>
#include <cmath>
#include <exception>

#include "app/run_state.h"
#include "install/install_driver.h"
#include "platform/file_system.h"
#include "platform/number_text.h"
#include "platform/wizard_services.h"
#include "system/registered_user.h"
#include "text/language.h"
#include "text/variables.h"
#include "wizard/access_keys.h"
#include "wizard/finish_layout.h"
#include "wizard/form1.h"

namespace {

constexpr FormControl kHiddenOnEveryPage[] = {
    FormControl::Panel1,          FormControl::Panel2,          FormControl::P1,
    FormControl::P2,              FormControl::P3,              FormControl::P4,
    FormControl::P5,              FormControl::P6,              FormControl::P7,
    FormControl::ComboLng,        FormControl::CheckLaunchFile, FormControl::CheckViewReadme,
    FormControl::CheckCustomRun,  FormControl::RadioGroup1,
};

IniFile& Script() { return *Run().SetupScript; }
bool Flag(const char* key) { return Script().ReadBool("Setup", key, false); }
std::string Expanded(const std::string& section, int number) {
  return ExpandVariables(ReadText(section, number));
}

// The language's file of that kind ("L" licence, "R" readme), or the default one.
std::string RichTextFile(char kind, const std::string& language) {
  std::string own = Run().TempFolder + "\\" + kind + language + ".rtf";
  if (platform::FileExists(own)) return own;
  return Run().TempFolder + "\\" + kind + "(Default).rtf";
}

}  // namespace

std::string FormatByteSize(int64_t bytes) {
  struct Unit {
    int64_t size;
    const char* name;
  } units[] = {{int64_t{1} << 30, " GB"}, {int64_t{1} << 20, " MB"}, {int64_t{1} << 10, " KB"}};
  for (const Unit& unit : units) {
    if (bytes / unit.size <= 0) continue;
    int64_t hundredths = std::llround(static_cast<double>(bytes) / static_cast<double>(unit.size) * 100.0);
    return std::to_string(hundredths / 100) + platform::DecimalSeparator() +
           DecimalText(static_cast<uint64_t>(hundredths % 100), 2) + unit.name;
  }
  return std::to_string(bytes) + " Byte(s)";
}

void TForm1::Set(FormControl control, const std::string& section, int number) {
  view_.SetText(control, Expanded(section, number));
}

void TForm1::FocusIfPossible(FormControl control) {
  if (view_.CanFocus(control)) view_.SetFocus(control);
}

void TForm1::ShowPage(int page, bool forward) {
  RunState& run = Run();
  run.CurrentPage = page;
  view_.SetVisible(FormControl::BtnBack, true);
  view_.SetVisible(FormControl::BtnNext, true);
  view_.SetEnabled(FormControl::BtnNext, true);
  for (FormControl control : kHiddenOnEveryPage) view_.SetVisible(control, false);
  view_.SetText(FormControl::BtnBack, ReadText("Buttons", 0));
  view_.SetText(FormControl::BtnNext, ReadText("Buttons", 1));
  view_.SetText(FormControl::BtnCancel, ReadText("Buttons", 2));
  if (page < 9) {
    bool laterPage = false, earlierPage = false;
    for (int later = page + 1; later <= 8; ++later) laterPage = laterPage || run.PageEnabled[later];
    for (int earlier = 1; earlier < page; ++earlier)
      earlierPage = earlierPage || run.PageEnabled[earlier];
    if (!laterPage) view_.SetText(FormControl::BtnNext, ReadText("Buttons", 3));
    if (!earlierPage) view_.SetVisible(FormControl::BtnBack, false);
    if (!run.PageEnabled[page]) {
      ShowPage(forward ? page + 1 : page - 1, forward);
      return;
    }
  }
  switch (page) {
    case 1: return ShowLanguagePage();
    case 2: return ShowWelcomePage();
    case 3: return ShowLicensePage();
    case 4: return ShowReadmePage();
    case 5: return ShowUserInfoPage();
    case 6: return ShowDestinationPage();
    case 7: return ShowProgramGroupPage();
    case 8: return ShowReadyPage();
    case 9: return ShowInstallingPage();
    default: return ShowFinishPage();
  }
}

void TForm1::ShowLanguagePage() {
  Set(FormControl::Label1, "Language", 0);
  Set(FormControl::Label2, "Language", 1);
  view_.SetVisible(FormControl::Panel1, true);
  view_.SetVisible(FormControl::ComboLng, true);
  FocusIfPossible(FormControl::BtnNext);
}

void TForm1::ShowWelcomePage() {
  Set(FormControl::Label1, "Welcome", 0);
  Set(FormControl::Label2, "Welcome", 1);
  view_.SetVisible(FormControl::Panel1, true);
  FocusIfPossible(FormControl::BtnNext);
}

void TForm1::ShowLicensePage() {
  Set(FormControl::Text1, "LicenseAgreement", 0);
  Set(FormControl::Text2, "LicenseAgreement", 1);
  Set(FormControl::Label4, "LicenseAgreement", 2);
  Set(FormControl::Label11, "LicenseAgreement", 3);
  Set(FormControl::CheckBox1, "LicenseAgreement", 4);
  view_.SetVisible(FormControl::Label11, false);
  view_.SetVisible(FormControl::CheckBox1, false);
  view_.SetVisible(FormControl::Panel2, true);
  view_.SetVisible(FormControl::P1, true);
  if (Flag("AcceptAgreement")) {
    view_.SetChecked(FormControl::CheckBox1, false);
    view_.SetVisible(FormControl::CheckBox1, true);
    view_.SetEnabled(FormControl::BtnNext, false);
    FocusIfPossible(FormControl::CheckBox1);
  } else {
    view_.SetChecked(FormControl::CheckBox1, true);
    view_.SetVisible(FormControl::Label11, true);
    view_.SetText(FormControl::BtnNext, ReadText("Buttons", 11));
    view_.SetEnabled(FormControl::BtnNext, true);
    FocusIfPossible(FormControl::BtnNext);
  }
  view_.LoadRichText(FormControl::RichEdit1,
                     RichTextFile('L', view_.Text(FormControl::ComboLng)));
}

void TForm1::ShowReadmePage() {
  Set(FormControl::Text1, "Readme", 0);
  Set(FormControl::Text2, "Readme", 1);
  Set(FormControl::Label18, "Readme", 2);
  view_.SetVisible(FormControl::Panel2, true);
  view_.SetVisible(FormControl::P2, true);
  FocusIfPossible(FormControl::BtnNext);
  view_.LoadRichText(FormControl::RichEdit2,
                     RichTextFile('R', view_.Text(FormControl::ComboLng)));
}

void TForm1::ShowUserInfoPage() {
  Set(FormControl::Text1, "UserInformation", 0);
  Set(FormControl::Text2, "UserInformation", 1);
  Set(FormControl::Label5, "UserInformation", 2);
  for (FormControl control : {FormControl::LUser, FormControl::EUser, FormControl::LCompany,
                              FormControl::ECompany, FormControl::LCustomInfo,
                              FormControl::ECustomInfo})
    view_.SetVisible(control, false);
  auto required = [](const char* key) { return Flag(key) ? std::string("*") : std::string(); };
  if (Flag("InfoUserName")) {
    view_.SetVisible(FormControl::LUser, true);
    view_.SetVisible(FormControl::EUser, true);
    view_.SetText(FormControl::EUser, GetRegisteredUserInfo("user"));
    view_.SetText(FormControl::LUser, Expanded("UserInformation", 3) + required("InfoUserNameReq"));
  }
  if (Flag("InfoCompany")) {
    view_.SetVisible(FormControl::LCompany, true);
    view_.SetVisible(FormControl::ECompany, true);
    view_.SetText(FormControl::ECompany, GetRegisteredUserInfo("company"));
    view_.SetText(FormControl::LCompany,
                  Expanded("UserInformation", 4) + required("InfoCompanyReq"));
  }
  if (Flag("InfoCustom")) {
    view_.SetVisible(FormControl::LCustomInfo, true);
    view_.SetVisible(FormControl::ECustomInfo, true);
    view_.SetText(FormControl::LCustomInfo,
                  ExpandVariables(Script().ReadString("Setup", "InfoCustomName", "")) + ":" +
                      required("InfoCustomReq"));
  }
  view_.SetVisible(FormControl::Panel2, true);
  view_.SetVisible(FormControl::P3, true);
  for (FormControl field : {FormControl::EUser, FormControl::ECompany, FormControl::ECustomInfo}) {
    if (view_.Visible(field)) {
      FocusIfPossible(field);
      break;
    }
  }
}

void TForm1::RefreshFreeSpace() {
  std::string folder = view_.Text(FormControl::Edit1);
  int64_t available = folder.size() >= 2 ? platform::DriveFreeSpace(folder[0]) : 0;
  view_.SetText(FormControl::LSpaceFree,
                ExpandVariables(FormatMessageText(ReadText("DestinationFolder", 6),
                                                  FormatByteSize(available))));
}

void TForm1::ShowDestinationPage() {
  Set(FormControl::Text1, "DestinationFolder", 0);
  Set(FormControl::Text2, "DestinationFolder", 1);
  Set(FormControl::Label10, "DestinationFolder", 2);
  if (view_.Enabled(FormControl::Button4)) Set(FormControl::Label6, "DestinationFolder", 3);
  Set(FormControl::GroupBox1, "DestinationFolder", 4);
  Set(FormControl::Button4, "Buttons", 7);
  int64_t required = Script().ReadInteger("Setup", "FilesSize", 0);
  view_.SetText(FormControl::LSpaceRequired,
                ExpandVariables(FormatMessageText(ReadText("DestinationFolder", 5),
                                                  FormatByteSize(required))));
  RefreshFreeSpace();
  view_.SetVisible(FormControl::Panel2, true);
  view_.SetVisible(FormControl::P4, true);
  FocusIfPossible(FormControl::BtnNext);
}

void TForm1::ShowProgramGroupPage() {
  Set(FormControl::Text1, "ShortcutsFolder", 0);
  Set(FormControl::Text2, "ShortcutsFolder", 1);
  Set(FormControl::Label3, "ShortcutsFolder", 2);
  Set(FormControl::CheckBox2, "ShortcutsFolder", 3);
  Set(FormControl::CheckBox3, "ShortcutsFolder", 4);
  Set(FormControl::CheckBox4, "ShortcutsFolder", 5);
  view_.SetVisible(FormControl::Panel2, true);
  view_.SetVisible(FormControl::P5, true);
  FocusIfPossible(FormControl::BtnNext);
}

void TForm1::ShowReadyPage() {
  Set(FormControl::Text1, "ReadyToInstall", 0);
  Set(FormControl::Text2, "ReadyToInstall", 1);
  Set(FormControl::Label7, "ReadyToInstall", 2);
  std::vector<std::string> lines = {ReadText("Setup", 0), "\t" + view_.Text(FormControl::Edit1),
                                    ""};
  if (!view_.Checked(FormControl::CheckBox2)) {
    lines.push_back(ReadText("Setup", 1));
    lines.push_back("\t" + view_.Text(FormControl::ComboBox1));
  }
  bool desktop = view_.Checked(FormControl::CheckBox3);
  bool quickLaunch = view_.Checked(FormControl::CheckBox4);
  if (desktop || quickLaunch) {
    lines.push_back("");
    lines.push_back(ReadText("Setup", 2));
    // The boxes' captions as the boxes read them, without their access-key markers.
    if (desktop) lines.push_back("\t" + CaptionAsShown(Expanded("ShortcutsFolder", 4)));
    if (quickLaunch) lines.push_back("\t" + CaptionAsShown(Expanded("ShortcutsFolder", 5)));
  }
  std::string memo;
  for (const std::string& line : lines) memo += line + "\r\n";
  view_.SetText(FormControl::Memo1, memo);
  view_.SetVisible(FormControl::Panel2, true);
  view_.SetVisible(FormControl::P6, true);
  FocusIfPossible(FormControl::BtnNext);
}

void TForm1::ShowInstallingPage() {
  Set(FormControl::Text1, "Install", 0);
  Set(FormControl::Text2, "Install", 1);
  Set(FormControl::Label8, "Install", 2);
  view_.SetVisible(FormControl::Panel2, true);
  view_.SetVisible(FormControl::P7, true);
  FocusIfPossible(FormControl::BtnCancel);
  view_.SetVisible(FormControl::BtnBack, false);
  view_.SetVisible(FormControl::BtnNext, false);
  try {
    RunInstallation();
  } catch (const std::exception& error) {
    // Nothing on this page could close the window any more: end as a silent run does.
    StopOnUnexpectedError(error.what());
  }
  ShowPage(10, true);
}

void TForm1::ShowFinishPage() {
  Set(FormControl::Label1, "SetupComplete", 0);
  std::string result = ReadText("SetupComplete", Run().InstallErrors ? 2 : 3);
  view_.SetText(FormControl::Label2,
                ExpandVariables(ReadText("SetupComplete", 1) + "<#><#>" + result));
  Set(FormControl::CheckLaunchFile, "SetupComplete", 4);
  Set(FormControl::CheckViewReadme, "SetupComplete", 5);
  view_.SetText(FormControl::CheckCustomRun,
                ExpandVariables(Script().ReadString("Setup", "CustomActionName", "")));
  view_.SetVisible(FormControl::BtnBack, false);
  view_.SetVisible(FormControl::BtnCancel, false);
  view_.SetText(FormControl::BtnNext, ReadText("Buttons", 8));
  FocusIfPossible(FormControl::BtnNext);
  view_.SetVisible(FormControl::Panel1, true);
  if (Flag("RestartComputer")) {
    view_.SetVisible(FormControl::RadioGroup1, true);
    Set(FormControl::Label2, "SetupComplete", 6);
    Set(FormControl::RadioGroup1, "SetupComplete", 7);
    view_.ClearItems(FormControl::RadioGroup1);
    view_.AddItem(FormControl::RadioGroup1, Expanded("SetupComplete", 8));
    view_.AddItem(FormControl::RadioGroup1, Expanded("SetupComplete", 9));
    view_.SetItemIndex(FormControl::RadioGroup1, 0);
  }
  struct Option {
    FormControl box;
    const char* shown;
    const char* ticked;
  } options[] = {{FormControl::CheckLaunchFile, "LaunchFile", "LaunchFileChecked"},
                 {FormControl::CheckViewReadme, "ViewReadme", "ViewReadmeChecked"},
                 {FormControl::CheckCustomRun, "CustomAction", "CustomActionChecked"}};
  std::array<bool, 3> shown{};
  for (size_t i = 0; i < 3; ++i) {
    const Option& option = options[i];
    if (Flag(option.shown)) view_.SetVisible(option.box, true);
    if (Flag(option.ticked)) view_.SetChecked(option.box, true);
    shown[i] = view_.Visible(option.box);
  }
  FinishPlaces places = PlaceFinishOptions(shown, view_.Visible(FormControl::RadioGroup1));
  for (size_t i = 0; i < 3; ++i) view_.SetBounds(options[i].box, places.options[i]);
  view_.SetBounds(FormControl::RadioGroup1, places.restart);
  if (!Run().PageEnabled[9]) BtnNextClick();
}
