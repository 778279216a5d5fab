// Repaints the wizard once the keyboard cues change (access-key underlines and focus
// rectangles shown on Alt). With visual styles on Windows Vista and later, controls that
// draw themselves otherwise keep the old cues until something else repaints them.
#pragma once

#include <windows.h>

// Windows Vista or later, with visual styles in use: where the repaint is needed.
bool VistaAltFixNeeded();

class TVistaAltFix {
 public:
  explicit TVistaAltFix(HWND form, bool active = VistaAltFixNeeded());
  ~TVistaAltFix();
  TVistaAltFix(const TVistaAltFix&) = delete;
  TVistaAltFix& operator=(const TVistaAltFix&) = delete;

  bool Active() const { return active_; }
  // Called whenever the message queue has become empty: hooks the form the first time,
  // repaints it once when cue changes arrived since the last call, forgets a form that is gone.
  void Idle();

 private:
  static LRESULT CALLBACK HookProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Unhook();

  HWND form_;
  bool active_ = false;
  bool hooked_ = false;
  bool cuesChanged_ = false;
};
