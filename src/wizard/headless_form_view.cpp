#include "wizard/headless_form_view.h"

#include "wizard/bitmap_check.h"

bool HeadlessFormView::LoadPicture(FormControl control, const std::string& path) {
  if (!IsReadableBitmapFile(path)) return false;
  (control == FormControl::Image1 ? Image1Path : Image2Path) = path;
  return true;
}
