#include "platform/win32/win32_vista_alt_fix.h"

#include "platform/dynamic_library.h"

namespace {

// The hooked window keeps its own handler and the fix in properties, so that a message arriving
// after the fix is gone still reaches the window's handler.
constexpr char kSavedProp[] = "SetupAltFixProc";
constexpr char kFixProp[] = "SetupAltFix";

struct DllVersion {
  DWORD size, major, minor, build, platform;
};

int CommonControlsMajor() {
  HMODULE library = ::GetModuleHandleA("comctl32.dll");
  if (!library) return 0;
  using GetVersionFunction = HRESULT(CALLBACK*)(DllVersion*);
  auto getVersion = reinterpret_cast<GetVersionFunction>(
      reinterpret_cast<void*>(::GetProcAddress(library, "DllGetVersion")));
  DllVersion version{sizeof version, 0, 0, 0, 0};
  return getVersion && SUCCEEDED(getVersion(&version)) ? static_cast<int>(version.major) : 0;
}

// Visual styles are drawn for this program: themes are active and common controls 6 are bound.
bool VisualStylesInUse() {
  platform::LibraryHandle theme = platform::LoadSystemLibrary("uxtheme.dll");
  if (!theme) return false;
  using Query = BOOL(WINAPI*)();
  auto appThemed = reinterpret_cast<Query>(platform::LibraryProc(theme, "IsAppThemed"));
  auto themeActive = reinterpret_cast<Query>(platform::LibraryProc(theme, "IsThemeActive"));
  bool themed = appThemed && themeActive && appThemed() && themeActive();
  platform::FreeSystemLibrary(theme);
  return themed && CommonControlsMajor() >= 6;
}

}  // namespace

bool VistaAltFixNeeded() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  return ::GetVersionExA(&version) && version.dwMajorVersion >= 6 && VisualStylesInUse();
}

TVistaAltFix::TVistaAltFix(HWND form, bool active) : form_(form), active_(form && active) {}

TVistaAltFix::~TVistaAltFix() { Unhook(); }

void TVistaAltFix::Idle() {
  if (!active_ || !form_) return;
  if (!::IsWindow(form_)) {
    // The form is gone: forget it without touching it.
    hooked_ = false;
    form_ = nullptr;
    return;
  }
  if (!hooked_) {
    ::SetPropA(form_, kFixProp, this);
    ::SetPropA(form_, kSavedProp,
               reinterpret_cast<HANDLE>(
                   ::SetWindowLongPtrA(form_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HookProc))));
    hooked_ = true;
    return;
  }
  if (!cuesChanged_) return;
  cuesChanged_ = false;
  // The form and every control inside it, parents first, at once.
  ::RedrawWindow(form_, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void TVistaAltFix::Unhook() {
  if (!hooked_ || !::IsWindow(form_)) return;
  ::RemovePropA(form_, kFixProp);
  // Only when nobody hooked the window after us can the old handler be put back; otherwise the
  // hook stays and goes on passing messages through.
  if (::GetWindowLongPtrA(form_, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(HookProc)) {
    ::SetWindowLongPtrA(form_, GWLP_WNDPROC,
                        reinterpret_cast<LONG_PTR>(::GetPropA(form_, kSavedProp)));
    ::RemovePropA(form_, kSavedProp);
  }
  hooked_ = false;
}

LRESULT CALLBACK TVistaAltFix::HookProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto saved = reinterpret_cast<WNDPROC>(::GetPropA(window, kSavedProp));
  LRESULT result = saved ? ::CallWindowProcA(saved, window, message, wParam, lParam)
                         : ::DefWindowProcA(window, message, wParam, lParam);
  if (message == WM_UPDATEUISTATE) {
    if (auto* fix = static_cast<TVistaAltFix*>(::GetPropA(window, kFixProp)))
      fix->cuesChanged_ = true;
  } else if (message == WM_NCDESTROY) {
    ::RemovePropA(window, kFixProp);
    ::RemovePropA(window, kSavedProp);
  }
  return result;
}
