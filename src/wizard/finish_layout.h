// Where the finish page puts its option boxes and its restart group.
#pragma once

#include <array>

#include "wizard/form_view.h"

struct FinishPlaces {
  std::array<ControlBounds, 3> options;  // CheckLaunchFile, CheckViewReadme, CheckCustomRun
  ControlBounds restart;                 // RadioGroup1
};

// Without the restart group every box keeps its own row. With it, the shown boxes are stacked
// and the group follows them, all lifted as far as needed for the group to end inside the page:
// the restart choice is never hidden under a box.
FinishPlaces PlaceFinishOptions(const std::array<bool, 3>& optionShown, bool restartShown);
