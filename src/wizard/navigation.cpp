// Moving between the wizard's pages on the user's input, and the checks of Next.
#include "app/run_state.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/wizard_services.h"
#include "text/language.h"
#include "text/variables.h"
#include "wizard/finish_actions.h"
#include "wizard/form1.h"

namespace {

IniFile& Script() { return *Run().SetupScript; }
bool Flag(const char* key) { return Script().ReadBool("Setup", key, false); }

}  // namespace

int TForm1::Warn(const std::string& text) {
  return platform::ShowMessageBox(view_.Handle(), text, view_.Text(FormControl::Form),
                                  platform::kMbOk | platform::kMbIconWarning);
}

// A required field that is switched on and empty takes the focus; nothing is said.
bool TForm1::CheckUserFields() {
  struct Field {
    const char* shown;
    const char* required;
    FormControl edit;
  } fields[] = {{"InfoUserName", "InfoUserNameReq", FormControl::EUser},
                {"InfoCompany", "InfoCompanyReq", FormControl::ECompany},
                {"InfoCustom", "InfoCustomReq", FormControl::ECustomInfo}};
  for (const Field& field : fields) {
    if (Flag(field.shown) && Flag(field.required) && view_.Text(field.edit).empty()) {
      view_.SetFocus(field.edit);
      return false;
    }
  }
  return true;
}

bool TForm1::CheckDestination() {
  std::string folder = view_.Text(FormControl::Edit1);
  if (folder.size() >= 3 && platform::FolderExists(folder.substr(0, 3))) {
    int64_t required = Script().ReadInteger("Setup", "FilesSize", 0);
    int64_t available = platform::DriveFreeSpace(folder[0]);
    if (available >= required) return true;
    RefreshFreeSpace();
    Warn(ExpandVariables(FormatMessageText(ReadText("DestinationFolder", 7), folder.substr(0, 2))));
    FocusIfPossible(FormControl::Button4);
    return false;
  }
  Warn(ExpandVariables(ReadText("DestinationFolder", 1)));
  view_.SetFocus(FormControl::Edit1);
  return false;
}

bool TForm1::CheckProgramGroup() {
  if (!view_.Text(FormControl::ComboBox1).empty()) return true;
  Warn(ExpandVariables(ReadText("ShortcutsFolder", 0)));
  FocusIfPossible(FormControl::ComboBox1);
  return false;
}

void TForm1::BtnNextClick() {
  int page = Run().CurrentPage;
  if (page == 5 && !CheckUserFields()) return;
  if (page == 6 && !CheckDestination()) return;
  if (page == 7 && !CheckProgramGroup()) return;
  if (page == 10) {
    view_.Close();
    return;
  }
  if (page < 9) ShowPage(page + 1, true);
}

void TForm1::BtnBackClick() { ShowPage(Run().CurrentPage - 1, false); }

void TForm1::BtnCancelClick() { view_.Close(); }

void TForm1::CheckBox1Click() {
  bool accepted = view_.Checked(FormControl::CheckBox1);
  view_.SetEnabled(FormControl::BtnNext, accepted);
  if (accepted) FocusIfPossible(FormControl::BtnNext);
}

void TForm1::Button4Click() {
  std::optional<std::string> chosen =
      platform::BrowseForFolder(view_.Handle(), view_.Text(FormControl::Text1) + ":");
  if (!chosen || chosen->size() <= 1) return;
  std::string folder = *chosen;
  if (folder.back() == '\\') folder.pop_back();
  view_.SetText(FormControl::Edit1, folder);
  RefreshFreeSpace();
  FocusIfPossible(FormControl::BtnNext);
}

void TForm1::CheckBox2Click() {
  view_.SetText(FormControl::ComboBox1,
                ExpandVariables(Script().ReadString("Setup", "ProgramGroup", "")));
  view_.SetEnabled(FormControl::ComboBox1, !view_.Checked(FormControl::CheckBox2));
}

bool TForm1::Edit1KeyPress(char key) {
  if (key != '\r') return false;
  BtnNextClick();
  return true;
}

void TForm1::Click(FormControl control) {
  switch (control) {
    case FormControl::BtnNext: return BtnNextClick();
    case FormControl::BtnBack: return BtnBackClick();
    case FormControl::BtnCancel: return BtnCancelClick();
    case FormControl::CheckBox1: return CheckBox1Click();
    case FormControl::Button4: return Button4Click();
    case FormControl::CheckBox2: return CheckBox2Click();
    case FormControl::CheckLaunchFile:
    case FormControl::CheckViewReadme:
    case FormControl::CheckCustomRun:
    case FormControl::RadioGroup1:
      return FocusIfPossible(FormControl::BtnNext);
    default: return;
  }
}

void TForm1::Change(FormControl control) {
  if (control == FormControl::ComboLng) ComboLngChange();
}

bool TForm1::KeyPress(FormControl control, char key) {
  if (control == FormControl::Edit1 || control == FormControl::ComboLng) return Edit1KeyPress(key);
  return false;
}
