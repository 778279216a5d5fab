#include "wizard/headless_form_view.h"

#include "platform/file_system.h"
#include "wizard/bitmap_check.h"

namespace {

// Hidden at design time: the scratch list and the two shortcut boxes that start-up shows.
bool VisibleByDefault(FormControl control) {
  switch (control) {
    case FormControl::ListBox1:
    case FormControl::CheckBox3:
    case FormControl::CheckBox4:
    case FormControl::BtnBack:
    case FormControl::CheckLaunchFile:
    case FormControl::CheckViewReadme:
    case FormControl::CheckCustomRun:
    case FormControl::RadioGroup1:
      return false;
    default:
      return true;
  }
}

const std::string kEmpty;

}  // namespace

// One slot per control, as a window has one: this view also serves silent runs of the real
// program, where a tree of controls would only add to its size.
HeadlessFormView::HeadlessFormView() {
  for (int index = 0; index < kControlCount; ++index)
    controls_[index].visible = VisibleByDefault(static_cast<FormControl>(index));
}

HeadlessFormView::ControlState& HeadlessFormView::State(FormControl control) {
  return controls_[static_cast<int>(control)];
}

const HeadlessFormView::ControlState* HeadlessFormView::Find(FormControl control) const {
  int index = static_cast<int>(control);
  return index >= 0 && index < kControlCount ? &controls_[index] : nullptr;
}

bool HeadlessFormView::LoadPicture(FormControl control, const std::string& path) {
  if (!IsReadableBitmapFile(path)) return false;
  State(control).picture = path;
  return true;
}

const std::string& HeadlessFormView::PicturePath(FormControl control) const {
  const ControlState* state = Find(control);
  return state ? state->picture : kEmpty;
}

ControlBounds HeadlessFormView::Bounds(FormControl control) const {
  const ControlState* state = Find(control);
  return state ? state->bounds : ControlBounds{};
}

std::string HeadlessFormView::Text(FormControl control) const {
  const ControlState* state = Find(control);
  return state ? state->text : std::string();
}

void HeadlessFormView::SetText(FormControl control, const std::string& text) {
  State(control).text = text;
}

std::vector<std::string> HeadlessFormView::Items(FormControl control) const {
  const ControlState* state = Find(control);
  return state ? state->items : std::vector<std::string>();
}

void HeadlessFormView::ClearItems(FormControl control) {
  ControlState& state = State(control);
  state.items.clear();
  state.itemIndex = -1;
  if (control == FormControl::ComboLng) state.text.clear();
}

void HeadlessFormView::AddItem(FormControl control, const std::string& item) {
  State(control).items.push_back(item);
}

int HeadlessFormView::ItemIndex(FormControl control) const {
  const ControlState* state = Find(control);
  return state ? state->itemIndex : -1;
}

void HeadlessFormView::SetItemIndex(FormControl control, int index) {
  ControlState& state = State(control);
  if (index < 0 || index >= static_cast<int>(state.items.size())) {
    state.itemIndex = -1;
    if (control == FormControl::ComboLng) state.text.clear();
    return;
  }
  state.itemIndex = index;
  state.text = state.items[static_cast<size_t>(index)];
}

bool HeadlessFormView::Visible(FormControl control) const {
  const ControlState* state = Find(control);
  return state ? state->visible : VisibleByDefault(control);
}

void HeadlessFormView::SetVisible(FormControl control, bool visible) {
  State(control).visible = visible;
}

bool HeadlessFormView::Checked(FormControl control) const {
  const ControlState* state = Find(control);
  return state && state->checked;
}

void HeadlessFormView::SetChecked(FormControl control, bool checked) {
  State(control).checked = checked;
}

bool HeadlessFormView::Enabled(FormControl control) const {
  const ControlState* state = Find(control);
  return state ? state->enabled : true;
}

void HeadlessFormView::SetEnabled(FormControl control, bool enabled) {
  State(control).enabled = enabled;
}

int HeadlessFormView::Position(FormControl control) const {
  const ControlState* state = Find(control);
  return state ? state->position : 0;
}

void HeadlessFormView::SetPosition(FormControl control, int position) {
  State(control).position = position;
}

void HeadlessFormView::Close() {
  if (closed_) return;
  if (!Events() || Events()->CloseQuery()) closed_ = true;
}

// The text of a rich-text file as it stands: enough for tests to see which file was loaded.
bool HeadlessFormView::LoadRichText(FormControl control, const std::string& path) {
  platform::FileHandle file = platform::FileOpen(path, platform::FileAccess::Read,
                                                 platform::FileCreation::OpenExisting);
  if (file == platform::kInvalidFile) return false;
  std::string text;
  char buffer[4096];
  int32_t read = 0;
  while ((read = platform::FileRead(file, buffer, sizeof buffer)) > 0)
    text.append(buffer, static_cast<size_t>(read));
  platform::FileClose(file);
  if (read < 0) return false;
  SetText(control, text);
  return true;
}
