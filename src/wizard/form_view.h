// The form's controls as the run logic sees them. The Win32 view creates the real window;
// the headless view keeps the same state in memory for silent runs and tests.
#pragma once

#include <string>
#include <vector>

#include "platform/message_box.h"

enum class FormControl {
  Form,         // the window: its caption
  // Full-height pages (language, welcome, finish).
  Panel1,
  Image1,       // full-height picture
  Label1,       // heading
  Label2,       // body text
  ComboLng,     // language box: items are the language names
  CheckLaunchFile,
  CheckViewReadme,
  CheckCustomRun,
  RadioGroup1,  // restart choice: caption, two items, item index
  // Inner pages: the header band and its texts, then the page bodies P1 to P7.
  Panel2,
  Image2,       // banner picture of the header
  Text1,        // page title
  Text2,        // page subtitle
  P1,           // licence
  Label4,
  RichEdit1,
  Label11,
  CheckBox1,    // licence acceptance
  P2,           // readme
  Label18,
  RichEdit2,
  P3,           // user information
  Label5,
  LUser,
  EUser,        // user name
  LCompany,
  ECompany,     // company
  LCustomInfo,
  ECustomInfo,  // custom information
  P4,           // destination
  Label10,
  Label6,
  GroupBox1,
  Edit1,        // destination folder
  Button4,      // Browse
  LSpaceRequired,
  LSpaceFree,
  P5,           // program group
  Label3,
  ComboBox1,    // program group
  CheckBox2,    // no program group
  CheckBox3,    // desktop shortcut
  CheckBox4,    // quick-launch shortcut
  P6,           // ready to install
  Label7,
  Memo1,        // summary: its text holds the lines joined by CR LF
  P7,           // installing
  Label8,       // status line
  Label14,      // item line
  ProgressBar1, // 0 to 100
  // The button row.
  BtnBack,
  BtnNext,
  BtnCancel,
  ListBox1,     // invisible scratch list
};

// A control's place inside its parent, in pixels.
struct ControlBounds {
  int left = 0, top = 0, width = 0, height = 0;
};

// What the view reports to the form: the user's clicks, changes and keys, the window's first
// activation, its close request and the end of the user's session.
class FormEvents {
 public:
  virtual ~FormEvents() = default;
  virtual void Click(FormControl control) = 0;   // buttons, check boxes, the radio group
  virtual void Change(FormControl control) = 0;  // a list's selection changed
  // A character typed into the control; true when the form swallowed it.
  virtual bool KeyPress(FormControl control, char key) = 0;
  virtual void Activate() = 0;
  // The window is asked to close; false keeps it open.
  virtual bool CloseQuery() = 0;
  // The user logs off or the system shuts down: the process ends once this returns.
  virtual void EndSession() {}
};

class FormView {
 public:
  virtual ~FormView() = default;
  void SetEvents(FormEvents* events) { events_ = events; }
  FormEvents* Events() const { return events_; }
  // The window that owns the wizard's message boxes; 0 while none is shown.
  virtual platform::WindowHandle Handle() const { return 0; }
  // Asks the window to close; the close request decides (FormEvents::CloseQuery).
  virtual void Close() = 0;
  // Loads a rich-text file into a viewer; false (the viewer unchanged) when it cannot be read.
  virtual bool LoadRichText(FormControl control, const std::string& path) = 0;
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
  virtual ControlBounds Bounds(FormControl control) const = 0;
  virtual void SetBounds(FormControl control, const ControlBounds& bounds) = 0;
  virtual bool CanFocus(FormControl control) const = 0;
  virtual void SetFocus(FormControl control) = 0;

 private:
  FormEvents* events_ = nullptr;
};
