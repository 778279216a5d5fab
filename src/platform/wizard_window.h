// The wizard's window on the running system: the view that the form drives, and its message
// loop.
#pragma once

#include <memory>

#include "wizard/form_view.h"

namespace platform {

// The view of the wizard window, created hidden. On the host it is kept in memory.
std::unique_ptr<FormView> CreateWizardView();
// Shows the window of a view made by CreateWizardView and runs its messages until it is
// closed; returns at once where there is no window.
int RunWizard(FormView& view);

}  // namespace platform
