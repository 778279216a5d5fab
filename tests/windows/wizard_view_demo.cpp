// Drives the real wizard window without a setup file.
//   wizard_view_demo check PICTURE RTF   checks the live controls; prints each check, exits
//                                        with the number of failures
//   wizard_view_demo altfix              checks the keyboard-cue repaint on a window of its own
//   wizard_view_demo show PAGE PICTURE HEADER RTF
//                                        shows page 1 (language), 3 (licence), 6 (destination),
//                                        7 (group), 9 (installing) or 10 (finish) filled with
//                                        sample texts, until the window is closed
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/win32/win32_form_view.h"
#include "platform/win32/win32_vista_alt_fix.h"
#include "platform/wizard_window.h"

namespace {

using C = FormControl;

struct Recorder : FormEvents {
  Win32FormView* view = nullptr;
  std::vector<std::string> log;
  bool allowClose = false;
  bool checkedAtClick = false;
  void Click(FormControl control) override {
    log.push_back("click " + std::to_string(static_cast<int>(control)));
    checkedAtClick = view->Checked(control);
  }
  void Change(FormControl control) override {
    log.push_back("change " + std::to_string(static_cast<int>(control)));
  }
  bool KeyPress(FormControl control, char key) override {
    log.push_back("key " + std::to_string(static_cast<int>(control)) + " " +
                  std::to_string(static_cast<int>(key)));
    return key == '\r';
  }
  void Activate() override { log.push_back("activate"); }
  bool CloseQuery() override {
    log.push_back("closequery");
    return allowClose;
  }
  void EndSession() override { log.push_back("endsession"); }
  bool Saw(const std::string& entry) const {
    for (const std::string& item : log)
      if (item == entry) return true;
    return false;
  }
};

std::string Id(FormControl control) { return std::to_string(static_cast<int>(control)); }

int failures = 0;
void Check(bool ok, const char* what) {
  std::printf("%s %s\n", ok ? "ok  " : "FAIL", what);
  if (!ok) ++failures;
}

// Runs what is queued, through the wizard's keyboard handling, then returns.
void Pump() {
  for (int round = 0; round < 5; ++round) {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        ::PostQuitMessage(static_cast<int>(message.wParam));
        return;
      }
      if (!TranslateWizardMessage(message)) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
      }
    }
    ::Sleep(20);
  }
}

// A character typed with Alt held, as the keyboard delivers it.
void AltChar(HWND target, char key) {
  ::PostMessageA(target, WM_SYSCHAR, static_cast<unsigned char>(key), 0x20000001);
  Pump();
}

void TypeChar(HWND target, char key) {
  ::PostMessageA(target, WM_CHAR, static_cast<unsigned char>(key), 1);
  Pump();
}

bool AllSelected(HWND edit) {
  DWORD start = 0, end = 0;
  ::SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return start == 0 && end == static_cast<DWORD>(::GetWindowTextLengthA(edit)) && end > 0;
}

void PressKey(HWND target, WORD key) {
  ::PostMessageA(target, WM_KEYDOWN, key, 1);
  ::PostMessageA(target, WM_KEYUP, key, 0xC0000001);
  Pump();
}

bool QuitPosted() {
  MSG message;
  return ::PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
}

int RunChecks(const std::string& picture, const std::string& rtf) {
  Win32FormView view;
  Recorder events;
  events.view = &view;
  view.SetEvents(&events);
  HWND window = view.Window(C::Form);
  Check(window != nullptr, "the window exists");
  RECT client;
  ::GetClientRect(window, &client);
  Check(client.right == 500 && client.bottom == 362, "client area is 500 x 362");
  Check(!(::GetWindowLongA(window, GWL_STYLE) & WS_MAXIMIZEBOX), "no maximize box");
  Check(view.Handle() == 0, "no owner handle while the window is hidden");

  RECT place;
  ::GetWindowRect(view.Window(C::Edit1), &place);
  ::MapWindowPoints(nullptr, view.Window(C::GroupBox1), reinterpret_cast<POINT*>(&place), 2);
  Check(place.left == 15 && place.top == 24 && place.right - place.left == 304,
        "Edit1 at 15, 24, 304 wide inside its group box");
  ::GetWindowRect(view.Window(C::BtnNext), &place);
  ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
  Check(place.left == 331 && place.top == 328 && place.right - place.left == 75 &&
            place.bottom - place.top == 23,
        "BtnNext at 331, 328, 75 x 23");

  view.SetText(C::Form, "Demo Setup");
  Check(view.Text(C::Form) == "Demo Setup", "window caption reads back");
  view.SetText(C::Label1, "Heading");
  Check(view.Text(C::Label1) == "Heading", "label text reads back");
  view.SetText(C::GroupBox1, "Destination folder");
  Check(view.Text(C::GroupBox1) == "Destination folder", "group box caption reads back");
  Check(view.Text(C::BtnNext) == "&Next >", "initial Next caption");

  // Visibility is the control's own, whatever its panel shows.
  view.SetVisible(C::P4, false);
  Check(view.Visible(C::Edit1), "Edit1 keeps its own visibility inside a hidden panel");
  Check(!view.Visible(C::P4), "P4 hidden");
  Check(!view.Visible(C::BtnBack) && !view.Visible(C::CheckBox3) && !view.Visible(C::RadioGroup1),
        "controls hidden at start");
  view.SetVisible(C::LUser, false);
  Check(!view.Visible(C::LUser), "a label hides");

  // The language box.
  view.AddItem(C::ComboLng, "English");
  view.AddItem(C::ComboLng, "Deutsch");
  view.AddItem(C::ComboLng, "Francais");
  Check(view.Items(C::ComboLng).size() == 3 && view.Items(C::ComboLng)[2] == "Francais",
        "language items read back in order");
  Check(view.ItemIndex(C::ComboLng) == -1, "no language selected at first");
  view.SetItemIndex(C::ComboLng, 1);
  Check(view.ItemIndex(C::ComboLng) == 1 && view.Text(C::ComboLng) == "Deutsch",
        "selecting a language sets the box's text");
  view.SetText(C::ComboLng, "Francais");
  Check(view.ItemIndex(C::ComboLng) == 2, "setting the text selects the matching item");
  view.SetItemIndex(C::ComboLng, 7);
  Check(view.ItemIndex(C::ComboLng) == -1 && view.Text(C::ComboLng).empty(),
        "an index out of range clears the selection");
  view.SetItemIndex(C::ComboLng, 0);
  view.ClearItems(C::ComboLng);
  Check(view.Items(C::ComboLng).empty() && view.ItemIndex(C::ComboLng) == -1 &&
            view.Text(C::ComboLng).empty(),
        "clearing the language box empties it");

  // The group name box keeps its text.
  view.SetText(C::ComboBox1, "My Group");
  view.AddItem(C::ComboBox1, "Accessories");
  view.ClearItems(C::ComboBox1);
  Check(view.Text(C::ComboBox1) == "My Group", "clearing the group list keeps the typed name");
  view.AddItem(C::ComboBox1, "Accessories");
  view.SetItemIndex(C::ComboBox1, 0);
  Check(view.Text(C::ComboBox1) == "Accessories", "selecting a group sets its name");

  // The restart choice.
  Check(view.ItemIndex(C::RadioGroup1) == 0 && view.Items(C::RadioGroup1).size() == 2,
        "restart choice starts with two items, the first selected");
  view.ClearItems(C::RadioGroup1);
  Check(view.ItemIndex(C::RadioGroup1) == -1, "no restart choice after clearing");
  view.AddItem(C::RadioGroup1, "Now");
  view.AddItem(C::RadioGroup1, "Later");
  view.SetItemIndex(C::RadioGroup1, 1);
  Check(view.ItemIndex(C::RadioGroup1) == 1 && view.Items(C::RadioGroup1)[1] == "Later",
        "restart choice selects the second item");

  view.SetChecked(C::CheckBox2, true);
  Check(view.Checked(C::CheckBox2), "a box ticks");
  Check(events.log.empty(), "setting state from code reports no event");
  view.SetPosition(C::ProgressBar1, 40);
  Check(view.Position(C::ProgressBar1) == 40, "progress position reads back");

  Check(!view.LoadPicture(C::Image1, "C:\\no\\such.bmp"), "a missing picture is refused");
  Check(view.LoadPicture(C::Image1, picture), "a bitmap file loads");
  Check(!view.LoadRichText(C::RichEdit1, "C:\\no\\such.rtf"), "a missing text is refused");
  Check(view.LoadRichText(C::RichEdit1, rtf), "a rich-text file loads");
  std::string shown = view.Text(C::RichEdit1);
  Check(shown.find("Licence") != std::string::npos && shown.find("\\rtf") == std::string::npos,
        "the rich text shows as text, not as its source");

  // On screen.
  view.SetVisible(C::P4, true);
  ::ShowWindow(window, SW_SHOWNORMAL);
  Pump();
  Check(view.Handle() != 0, "owner handle once shown");
  Check(events.Saw("activate"), "first activation reported");
  Check(view.CanFocus(C::Edit1), "Edit1 can take the focus on a shown page");
  view.SetVisible(C::P1, false);
  Check(!view.CanFocus(C::CheckBox1), "a control in a hidden panel cannot take the focus");

  view.SetText(C::Edit1, "C:\\Program");
  view.SetFocus(C::Edit1);
  ::SendMessageA(view.Window(C::Edit1), EM_SETSEL, 100, 100);
  events.log.clear();
  ::PostMessageA(view.Window(C::Edit1), WM_CHAR, 's', 1);
  Pump();
  Check(events.Saw("key " + Id(C::Edit1) + " 115"), "typing in Edit1 is reported");
  Check(view.Text(C::Edit1) == "C:\\Programs", "Edit1 reads what was typed");
  PressKey(view.Window(C::Edit1), VK_RETURN);
  Check(events.Saw("key " + Id(C::Edit1) + " 13"), "Enter in Edit1 reaches the form");
  Check(view.Text(C::Edit1) == "C:\\Programs", "the swallowed Enter leaves the field alone");

  events.log.clear();
  PressKey(view.Window(C::Edit1), VK_ESCAPE);
  Check(events.Saw("click " + Id(C::BtnCancel)), "Escape clicks Cancel");
  view.SetVisible(C::BtnCancel, false);
  events.log.clear();
  PressKey(view.Window(C::Edit1), VK_ESCAPE);
  Check(!events.Saw("click " + Id(C::BtnCancel)), "Escape does nothing while Cancel is hidden");
  view.SetVisible(C::BtnCancel, true);

  view.AddItem(C::ComboLng, "English");
  view.AddItem(C::ComboLng, "Deutsch");
  view.SetItemIndex(C::ComboLng, 0);
  view.SetFocus(C::ComboLng);
  events.log.clear();
  PressKey(view.Window(C::ComboLng), VK_DOWN);
  Check(events.Saw("change " + Id(C::ComboLng)) && view.ItemIndex(C::ComboLng) == 1,
        "choosing another language is reported as a change");
  PressKey(view.Window(C::ComboLng), VK_RETURN);
  Check(events.Saw("key " + Id(C::ComboLng) + " 13"), "Enter in the language box reaches the form");

  view.SetVisible(C::P1, true);
  view.SetVisible(C::P6, true);
  view.SetFocus(C::RichEdit1);
  PressKey(view.Window(C::RichEdit1), VK_TAB);
  Check(::GetFocus() != view.Window(C::RichEdit1) && ::GetFocus() != nullptr,
        "Tab leaves the licence text");
  view.SetText(C::Memo1, "Destination\r\n\tC:\\x");
  view.SetFocus(C::Memo1);
  events.log.clear();
  PressKey(view.Window(C::Memo1), VK_ESCAPE);
  Pump();
  Check(events.Saw("click " + Id(C::BtnCancel)) && ::IsWindow(view.Window(C::P6)) &&
            view.Visible(C::P6),
        "Escape in the summary acts as Cancel and keeps its page");

  view.SetFocus(C::Edit1);
  view.SetEnabled(C::Edit1, false);
  Check(::GetFocus() != view.Window(C::Edit1), "a disabled field gives up the focus");
  view.SetEnabled(C::Edit1, true);

  events.log.clear();
  view.SetChecked(C::CheckBox2, false);
  ::SendMessageA(view.Window(C::CheckBox2), BM_CLICK, 0, 0);
  Check(events.Saw("click " + Id(C::CheckBox2)) && events.checkedAtClick,
        "a click on a box is reported after it ticked");
  events.log.clear();
  ::SendMessageA(view.Window(C::BtnNext), BM_CLICK, 0, 0);
  Check(events.Saw("click " + Id(C::BtnNext)), "Next click reported");

  events.log.clear();
  view.SetFocus(C::BtnNext);
  PressKey(view.Window(C::BtnNext), VK_TAB);
  Check(::GetFocus() == view.Window(C::BtnCancel), "Tab moves from Next to Cancel");
  PressKey(view.Window(C::BtnCancel), VK_RETURN);
  Check(events.Saw("click " + Id(C::BtnCancel)), "Enter on the focused Cancel clicks it");

  // A label's access key moves the focus to the field it names, with its text selected.
  view.SetVisible(C::P3, true);
  view.SetVisible(C::LUser, true);  // hidden by an earlier check
  view.SetText(C::LUser, "&User Name:");
  view.SetText(C::LCompany, "R&&D &Organization:");
  view.SetText(C::EUser, "Owner");
  view.SetText(C::ECompany, "Firm");
  HWND user = view.Window(C::EUser);
  HWND company = view.Window(C::ECompany);
  view.SetFocus(C::EUser);
  AltChar(user, 'o');
  Check(::GetFocus() == company && AllSelected(company), "Alt+O moves to the labelled field");
  AltChar(company, 'U');
  Check(::GetFocus() == user && AllSelected(user), "Alt+U moves back, whatever the letter case");
  AltChar(user, 'd');
  Check(::GetFocus() == user, "the escaped && is no access key");
  TypeChar(user, 'o');
  Check(::GetFocus() == user && view.Text(C::EUser) == "o",
        "the key alone types into a field that takes characters");
  view.SetFocus(C::BtnNext);
  TypeChar(view.Window(C::BtnNext), 'o');
  Check(::GetFocus() == company, "the key alone acts where the focus takes no characters");
  view.SetVisible(C::LUser, false);
  AltChar(company, 'u');
  Check(::GetFocus() == company, "a hidden label's key does nothing");
  view.SetVisible(C::LUser, true);
  view.SetVisible(C::EUser, false);
  AltChar(company, 'u');
  Check(::GetFocus() == company, "a hidden field is not focused");
  view.SetVisible(C::EUser, true);

  // Controls move where the page puts them; labels too.
  view.SetBounds(C::CheckCustomRun, {178, 161, 308, 17});
  ::GetWindowRect(view.Window(C::CheckCustomRun), &place);
  ::MapWindowPoints(nullptr, view.Window(C::Panel1), reinterpret_cast<POINT*>(&place), 2);
  Check(place.left == 178 && place.top == 161 && place.right - place.left == 308 &&
            place.bottom - place.top == 17,
        "a check box moves to its new place");
  ControlBounds group = view.Bounds(C::RadioGroup1);
  Check(group.left == 178 && group.top == 184 && group.width == 308 && group.height == 73,
        "the restart group reads its place");
  view.SetBounds(C::RadioGroup1, {178, 233, 308, 73});
  group = view.Bounds(C::RadioGroup1);
  Check(group.top == 233 && group.height == 73, "the restart group moves");
  view.SetBounds(C::Label2, {178, 80, 308, 70});
  ControlBounds text = view.Bounds(C::Label2);
  Check(text.top == 80 && text.height == 70, "a label takes its new place");

  // The end of the session is the form's to handle; a cancelled one is not.
  events.log.clear();
  Check(::SendMessageA(window, WM_QUERYENDSESSION, 0, 0) != 0, "the session may end");
  ::SendMessageA(window, WM_ENDSESSION, FALSE, 0);
  Check(!events.Saw("endsession"), "a cancelled end of session is ignored");
  ::SendMessageA(window, WM_ENDSESSION, TRUE, 0);
  Check(events.Saw("endsession"), "the end of the session is reported");

  // Closing asks the form.
  QuitPosted();
  events.log.clear();
  ::SendMessageA(window, WM_CLOSE, 0, 0);
  Check(events.Saw("closequery") && ::IsWindowVisible(window) && !QuitPosted(),
        "a refused close keeps the window");
  events.allowClose = true;
  view.Close();
  Check(!::IsWindowVisible(window) && QuitPosted(), "an agreed close hides the window and ends");
  Check(view.Text(C::Edit1) == "C:\\Programs", "fields stay readable after the close");
  view.SetEvents(nullptr);
  std::printf("%d failed\n", failures);
  return failures;
}

int paints = 0;
LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) ++paints;
  return ::DefWindowProcA(window, message, wParam, lParam);
}

void Settle() {
  MSG message;
  while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
}

int RunAltFixChecks() {
  WNDCLASSA counting{};
  counting.lpfnWndProc = CountingProc;
  counting.hInstance = ::GetModuleHandleA(nullptr);
  counting.lpszClassName = "CountingWindow";
  ::RegisterClassA(&counting);
  HWND form = ::CreateWindowExA(0, "CountingWindow", "Form", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                200, 200, nullptr, nullptr, counting.hInstance, nullptr);
  HWND panel = ::CreateWindowExA(0, "CountingWindow", "", WS_CHILD | WS_VISIBLE, 0, 0, 100, 100,
                                 form, nullptr, counting.hInstance, nullptr);
  HWND inner = ::CreateWindowExA(0, "CountingWindow", "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50,
                                 panel, nullptr, counting.hInstance, nullptr);
  ::UpdateWindow(form);
  Settle();
  LONG_PTR original = ::GetWindowLongPtrA(form, GWLP_WNDPROC);
  {
    TVistaAltFix off(form, false);
    off.Idle();
    ::SendMessageA(form, WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEACCEL), 0);
    paints = 0;
    off.Idle();
    Check(::GetWindowLongPtrA(form, GWLP_WNDPROC) == original && paints == 0,
          "an inactive fix neither hooks nor repaints");
  }
  {
    TVistaAltFix fix(form, true);
    fix.Idle();
    Check(::GetWindowLongPtrA(form, GWLP_WNDPROC) != original, "the form is hooked when idle");
    paints = 0;
    fix.Idle();
    Check(paints == 0, "no repaint without a cue change");
    ::SendMessageA(form, WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEACCEL), 0);
    ::SendMessageA(form, WM_UPDATEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEACCEL), 0);
    Settle();
    paints = 0;
    fix.Idle();
    Check(paints == 3, "two cue changes repaint the form and both controls once");
    paints = 0;
    fix.Idle();
    Check(paints == 0, "the next idle moment repaints nothing");
  }
  Check(::GetWindowLongPtrA(form, GWLP_WNDPROC) == original, "the fix unhooks when it goes");
  {
    // A form destroyed under the fix is forgotten without being touched again.
    TVistaAltFix fix(form, true);
    fix.Idle();
    ::DestroyWindow(form);
    fix.Idle();
    fix.Idle();
  }
  (void)inner;
  std::printf("%d failed\n", failures);
  return failures;
}

struct Idle : FormEvents {
  FormView* view = nullptr;
  void Click(FormControl control) override {
    if (control == C::BtnCancel || control == C::BtnNext) view->Close();
  }
  void Change(FormControl) override {}
  bool KeyPress(FormControl, char) override { return false; }
  void Activate() override {}
  bool CloseQuery() override { return true; }
};

int Show(int page, const std::string& picture, const std::string& header, const std::string& rtf) {
  auto created = platform::CreateWizardView();
  FormView& view = *created;
  Idle events;
  events.view = &view;
  view.SetEvents(&events);
  view.LoadPicture(C::Image1, picture);
  view.LoadPicture(C::Image2, header);
  view.SetText(C::Form, "Setup - Demo 1.0");
  for (FormControl hidden :
       {C::Panel1, C::Panel2, C::P1, C::P2, C::P3, C::P4, C::P5, C::P6, C::P7, C::ComboLng})
    view.SetVisible(hidden, false);
  view.SetVisible(C::BtnBack, page > 1 && page < 9);
  if (page == 1 || page == 10) {
    view.SetVisible(C::Panel1, true);
    view.SetText(C::Label1,
                 page == 1 ? "Select Setup Language" : "Completing the Demo Setup Wizard");
    view.SetText(C::Label2, page == 1 ? "Select the language to use during the installation:"
                                      : "Setup has finished installing Demo on your computer.");
    if (page == 1) {
      view.SetVisible(C::ComboLng, true);
      view.AddItem(C::ComboLng, "English");
      view.AddItem(C::ComboLng, "Deutsch");
      view.SetItemIndex(C::ComboLng, 0);
    } else {
      view.SetText(C::CheckLaunchFile, "Launch Demo");
      view.SetVisible(C::CheckLaunchFile, true);
      view.SetChecked(C::CheckLaunchFile, true);
      view.SetText(C::CheckViewReadme, "View the readme file");
      view.SetVisible(C::CheckViewReadme, true);
      view.SetVisible(C::BtnCancel, false);
      view.SetText(C::BtnNext, "&Finish");
    }
  } else {
    view.SetVisible(C::Panel2, true);
    FormControl body = page == 3 ? C::P1 : page == 6 ? C::P4 : page == 7 ? C::P5 : C::P7;
    view.SetVisible(body, true);
    view.SetText(C::Text1, page == 3   ? "License Agreement"
                           : page == 6 ? "Select Destination Location"
                           : page == 7 ? "Select Start Menu Folder"
                                       : "Installing");
    view.SetText(C::Text2, "Please read the following important information before continuing.");
    view.SetText(C::Label4,
                 "Please read the following License Agreement. You must accept the "
                 "terms of this agreement before continuing with the installation.");
    view.LoadRichText(C::RichEdit1, rtf);
    view.SetVisible(C::Label11, false);
    view.SetText(C::CheckBox1, "I &accept the agreement");
    view.SetText(C::Label10, "Setup will install Demo into the following folder.");
    view.SetText(C::Label6,
                 "To continue, click Next. If you would like to select a different "
                 "folder, click Browse.");
    view.SetText(C::GroupBox1, "Destination Folder");
    view.SetText(C::Edit1, "C:\\Program Files\\Demo");
    view.SetText(C::Button4, "B&rowse...");
    view.SetText(C::LSpaceRequired, "At least 7.17 KB of free disk space is required.");
    view.SetText(C::LSpaceFree, "Space available on disk: 12.50 GB");
    view.SetText(C::Label3,
                 "Setup will create the program's shortcuts in the following Start "
                 "Menu folder.");
    view.SetText(C::ComboBox1, "Demo");
    view.SetText(C::CheckBox2, "&Don't create a Start Menu folder");
    view.SetText(C::CheckBox3, "Create a &desktop icon");
    view.SetVisible(C::CheckBox3, true);
    view.SetText(C::Label8, "Extracting files...");
    view.SetText(C::Label14, "C:\\Program Files\\Demo\\demo.exe");
    view.SetPosition(C::ProgressBar1, 60);
  }
  return platform::RunWizard(view);
}

}  // namespace

int main(int argc, char** argv) {
  std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "altfix") return RunAltFixChecks();
  if (mode == "check" && argc > 3) return RunChecks(argv[2], argv[3]);
  if (mode == "show" && argc > 5) return Show(std::atoi(argv[2]), argv[3], argv[4], argv[5]);
  std::fprintf(stderr,
               "usage: wizard_view_demo check PICTURE RTF | show PAGE PICTURE HEADER RTF\n");
  return 2;
}
