// The wizard form: the run's handlers and methods, over a view of its controls.
#pragma once

#include <string>
#include <vector>

#include "wizard/form_view.h"

class TForm1 {
 public:
  explicit TForm1(FormView& view) : view_(view) {}

  // The start-up sequence. Returns only when the wizard is to be shown; a silent run and
  // every stop end the process.
  void FormCreate();

  FormView& View() { return view_; }
  // Scratch list for listing the keys of a setup-script section.
  std::vector<std::string> ListBox1;

 private:
  void UnpackPayload();
  template <typename Action>
  void ForEachScriptEntry(const std::string& section, Action action);
  [[noreturn]] void StopOnUnexpectedError(const std::string& text);
  void SetPageSwitches();
  void ShowTicked(FormControl box);
  FormView& view_;
};
