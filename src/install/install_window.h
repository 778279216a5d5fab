// The window that owns the installation's message boxes: the wizard's while it is shown, none
// in silent mode, so a box never hides behind the wizard.
#pragma once

#include "app/run_state.h"
#include "platform/message_box.h"
#include "wizard/form_view.h"

inline platform::WindowHandle InstallWindow() {
  return Run().Form ? Run().Form->Handle() : 0;
}
