// The form's controls kept in memory: silent runs and tests use it.
#pragma once

#include <string>
#include <vector>

#include "wizard/form_view.h"

class HeadlessFormView : public FormView {
 public:
  HeadlessFormView();
  bool LoadPicture(FormControl control, const std::string& path) override;
  void Close() override;
  bool LoadRichText(FormControl control, const std::string& path) override;
  // The window was closed (the close request agreed).
  bool Closed() const { return closed_; }
  std::string Text(FormControl control) const override;
  void SetText(FormControl control, const std::string& text) override;
  void SetApplicationTitle(const std::string& title) override { applicationTitle_ = title; }
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
  void SetBounds(FormControl control, const ControlBounds& bounds) override {
    State(control).bounds = bounds;
  }
  bool CanFocus(FormControl control) const override { return Visible(control) && Enabled(control); }
  void SetFocus(FormControl control) override { focused_ = control; }

  const std::string& ApplicationTitle() const { return applicationTitle_; }
  FormControl Focused() const { return focused_; }
  const std::string& PicturePath(FormControl control) const;

 private:
  struct ControlState {
    std::string text;
    std::vector<std::string> items;
    int itemIndex = -1;
    bool visible = true;
    bool checked = false;
    bool enabled = true;
    int position = 0;
    std::string picture;
    ControlBounds bounds;
  };
  ControlState& State(FormControl control);
  const ControlState* Find(FormControl control) const;

  static constexpr int kControlCount = static_cast<int>(FormControl::ListBox1) + 1;
  ControlState controls_[kControlCount];
  std::string applicationTitle_;
  FormControl focused_ = FormControl::Form;
  bool closed_ = false;
};
