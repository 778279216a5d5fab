#include "platform/win32/win32_form_view.h"
#include "platform/win32/win32_vista_alt_fix.h"
#include "platform/wizard_window.h"

namespace platform {

std::unique_ptr<FormView> CreateWizardView() { return std::make_unique<Win32FormView>(); }

int RunWizard(FormView& view) {
  auto* wizard = dynamic_cast<Win32FormView*>(&view);
  HWND window = wizard ? wizard->Window(FormControl::Form) : nullptr;
  if (!window) return 0;
  ::ShowWindow(window, SW_SHOWNORMAL);
  ::UpdateWindow(window);
  TVistaAltFix altFix(window);
  MSG message;
  for (;;) {
    if (!::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (!::IsWindow(window)) break;
      altFix.Idle();
      ::WaitMessage();
      continue;
    }
    if (message.message == WM_QUIT) return static_cast<int>(message.wParam);
    if (!TranslateWizardMessage(message)) {
      ::TranslateMessage(&message);
      ::DispatchMessageA(&message);
    }
  }
  return 0;
}

}  // namespace platform
