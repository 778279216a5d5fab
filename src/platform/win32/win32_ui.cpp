// Message boxes, pending window messages and the shell on Windows.
#include <windows.h>
#include <shellapi.h>

#include "platform/message_box.h"
#include "platform/process.h"
#include "platform/shell.h"
#include "platform/win32/win32_form_view.h"

namespace platform {

int ShowMessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                   uint32_t style) {
  // A box without owner window must still come to the front.
  if (!owner) style |= MB_SETFOREGROUND;
  return ::MessageBoxA(reinterpret_cast<HWND>(owner), text.c_str(), caption.c_str(), style);
}

void ProcessMessages() {
  MSG message;
  while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    // The wizard's keys (Tab, Escape, access keys) must work while files are installing too.
    if (TranslateWizardMessage(message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
}

bool ShellOpen(const std::string& file) {
  HINSTANCE result = ::ShellExecuteA(nullptr, "open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

bool ShellOpenWith(const std::string& file, const std::string& parameters,
                   const std::string& folder, int show) {
  HINSTANCE result =
      ::ShellExecuteA(nullptr, "open", file.c_str(), parameters.empty() ? nullptr : parameters.c_str(),
                      folder.empty() ? nullptr : folder.c_str(), show);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace platform
