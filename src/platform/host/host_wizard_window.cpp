// The host has no windows: the wizard's controls live in memory and nothing waits for a user.
#include "platform/wizard_window.h"
#include "wizard/headless_form_view.h"

namespace platform {

std::unique_ptr<FormView> CreateWizardView() { return std::make_unique<HeadlessFormView>(); }

int RunWizard(FormView&) { return 0; }

}  // namespace platform
