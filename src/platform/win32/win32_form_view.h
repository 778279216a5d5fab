// The wizard's real window: every control of the form at its place, read and written live.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "wizard/form_view.h"

class Win32FormView : public FormView {
 public:
  // Creates the window and its controls, hidden.
  Win32FormView();
  ~Win32FormView() override;
  Win32FormView(const Win32FormView&) = delete;
  Win32FormView& operator=(const Win32FormView&) = delete;

  // The owner of the wizard's message boxes: the window once it is on screen.
  platform::WindowHandle Handle() const override {
    return window_ && ::IsWindowVisible(window_) ? reinterpret_cast<platform::WindowHandle>(window_)
                                                 : 0;
  }
  void Close() override;
  bool LoadRichText(FormControl control, const std::string& path) override;
  bool LoadPicture(FormControl control, const std::string& path) override;
  std::string Text(FormControl control) const override;
  void SetText(FormControl control, const std::string& text) override;
  void SetApplicationTitle(const std::string&) override {}
  std::vector<std::string> Items(FormControl control) const override;
  void ClearItems(FormControl control) override;
  void AddItem(FormControl control, const std::string& item) override;
  int ItemIndex(FormControl control) const override;
  void SetItemIndex(FormControl control, int index) override;
  bool Visible(FormControl control) const override;
  void SetVisible(FormControl control, bool visible) override;
  bool Checked(FormControl control) const override;
  void SetChecked(FormControl control, bool checked) override;
  bool Enabled(FormControl control) const override;
  void SetEnabled(FormControl control, bool enabled) override;
  int Position(FormControl control) const override;
  void SetPosition(FormControl control, int position) override;
  ControlBounds Bounds(FormControl control) const override;
  void SetBounds(FormControl control, const ControlBounds& bounds) override;
  bool CanFocus(FormControl control) const override;
  void SetFocus(FormControl control) override;

  // The window of a control; 0 for the ones drawn by their panel (labels, pictures).
  HWND Window(FormControl control) const;
  // Keyboard handling of the wizard (Tab, access keys, Escape, Enter) for a message taken from
  // the queue; true when it was handled and must not be dispatched.
  bool PreTranslate(MSG& message);

  static constexpr int kControlCount = static_cast<int>(FormControl::ListBox1) + 1;

 private:
  struct Slot {
    HWND window = nullptr;
    std::string text;  // labels; for other controls, what was last set
    RECT place{};      // labels: where the text is drawn in the parent
    bool visible = true;
    bool enabled = true;
    bool sizeStale = false;        // labels: text set while the form was not on screen
    int position = 0;              // the progress bar
    bool positionPending = false;  // set while the form was not on screen
  };

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK TextProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK KeyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls();
  bool OnScreen() const;
  void ApplyDeferred();
  void Paint(HWND panel, HDC dc);
  void Command(WORD id, WORD code, HWND control);
  void Clicked(FormControl control);
  bool CloseRequested();
  void RedrawLabel(int index);
  void SizeLabel(int index);
  void DropFocusFrom(HWND window);
  bool LabelAccessKey(const MSG& message);
  int RadioIndex() const;
  HFONT FontOf(int index) const;

  HWND window_ = nullptr;
  Slot slots_[kControlCount];
  HWND radios_[2] = {};
  std::vector<std::string> radioItems_;
  std::vector<std::string> scratchItems_;  // the invisible list
  int scratchIndex_ = -1;
  HBITMAP pictures_[2] = {};  // Image1, Image2
  HICON icons_[2] = {};       // the fixed pictures of the destination and group pages
  HFONT fonts_[4] = {};
  HBRUSH white_ = nullptr;
  WNDPROC keyProcs_[2] = {};  // Edit1, ComboLng before subclassing
  bool listEnter_ = false;    // Enter closed the dropped-down language list
  bool activated_ = false;
  bool closing_ = false;
  HWND lastFocus_ = nullptr;
};

// The wizard's keyboard handling for a message taken from the queue by any message loop (the
// wizard's own, or one that lets pending messages run); true when it was handled.
bool TranslateWizardMessage(MSG& message);
