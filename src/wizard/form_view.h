// The form's controls as the run logic sees them. The Win32 view creates the real window;
// the headless view keeps the same state in memory for silent runs and tests.
#pragma once

#include <string>

enum class FormControl {
  Image1,  // full-height picture of the language, welcome and finish pages
  Image2,  // banner picture of the other pages' header
};

class FormView {
 public:
  virtual ~FormView() = default;
  // Loads a bitmap file into a picture control; false when it is missing or unreadable.
  virtual bool LoadPicture(FormControl control, const std::string& path) = 0;
};
