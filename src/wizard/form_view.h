// The form's controls as the run logic sees them. The Win32 view creates the real window;
// the headless view keeps the same state in memory for silent runs and tests.
#pragma once

#include <string>
#include <vector>

enum class FormControl {
  Form,         // the window: its caption
  Image1,       // full-height picture of the language, welcome and finish pages
  Image2,       // banner picture of the other pages' header
  Label1,       // heading of the full-height pages
  Label2,       // text of the full-height pages
  BtnBack,
  BtnNext,
  BtnCancel,
  ComboLng,     // language box: items are the language names
  Edit1,        // destination folder
  ComboBox1,    // program group
  EUser,        // user name
  ECompany,     // company
  ECustomInfo,  // custom information
  CheckBox2,    // no program group
  CheckBox3,    // desktop shortcut
  CheckBox4,    // quick-launch shortcut
  Button4,      // Browse on the destination page
  ListBox1,     // invisible scratch list
  Label8,       // status line of the installing page
  Label14,      // item line of the installing page
  ProgressBar1, // progress of the installing page, 0 to 100
};

class FormView {
 public:
  virtual ~FormView() = default;
  // Loads a bitmap file into a picture control; false when it is missing or unreadable.
  virtual bool LoadPicture(FormControl control, const std::string& path) = 0;

  // The caption of a window, label, button or check box, or the text of an edit or combo box.
  virtual std::string Text(FormControl control) const = 0;
  virtual void SetText(FormControl control, const std::string& text) = 0;
  // The application's task-bar title.
  virtual void SetApplicationTitle(const std::string& title) = 0;

  // List controls (ComboLng, ComboBox1, ListBox1).
  virtual std::vector<std::string> Items(FormControl control) const = 0;
  virtual void ClearItems(FormControl control) = 0;
  virtual void AddItem(FormControl control, const std::string& item) = 0;
  // -1 when nothing is selected; selecting sets the box's text.
  virtual int ItemIndex(FormControl control) const = 0;
  virtual void SetItemIndex(FormControl control, int index) = 0;

  virtual bool Visible(FormControl control) const = 0;
  virtual void SetVisible(FormControl control, bool visible) = 0;
  virtual bool Checked(FormControl control) const = 0;
  virtual void SetChecked(FormControl control, bool checked) = 0;
  virtual bool Enabled(FormControl control) const = 0;
  virtual void SetEnabled(FormControl control, bool enabled) = 0;
  // The progress bar's position.
  virtual int Position(FormControl control) const = 0;
  virtual void SetPosition(FormControl control, int position) = 0;
  virtual bool CanFocus(FormControl control) const = 0;
  virtual void SetFocus(FormControl control) = 0;
};
