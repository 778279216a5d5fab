#include "wizard/finish_layout.h"

namespace {

constexpr int kLeft = 178;
constexpr int kWidth = 308;
constexpr int kFirstTop = 184;
constexpr int kRowPitch = 24;
constexpr int kBoxHeight = 17;
constexpr int kGroupHeight = 73;
constexpr int kLowestBottom = 306;  // the page is 314 high; keep a margin above its edge

}  // namespace

FinishPlaces PlaceFinishOptions(const std::array<bool, 3>& optionShown, bool restartShown) {
  FinishPlaces places;
  for (int i = 0; i < 3; ++i)
    places.options[static_cast<size_t>(i)] = {kLeft, kFirstTop + i * kRowPitch, kWidth, kBoxHeight};
  places.restart = {kLeft, kFirstTop, kWidth, kGroupHeight};
  if (!restartShown) return places;

  int shown = 0;
  for (bool visible : optionShown) shown += visible ? 1 : 0;
  int top = kLowestBottom - (shown * kRowPitch + kGroupHeight);
  if (top > kFirstTop) top = kFirstTop;
  for (size_t i = 0; i < 3; ++i) {
    if (!optionShown[i]) continue;
    places.options[i].top = top;
    top += kRowPitch;
  }
  places.restart.top = top;
  return places;
}
