// The form's controls kept in memory: silent runs and tests use it.
#pragma once

#include <string>

#include "wizard/form_view.h"

class HeadlessFormView : public FormView {
 public:
  bool LoadPicture(FormControl control, const std::string& path) override;

  std::string Image1Path, Image2Path;
};
