// Hover: the control hooks its own window for mouse move and leave, theme and colour
// changes, and asks the system to tell it when the pointer leaves.
#include <exception>

#include "button.h"

namespace sorvbutton {

bool SorvButton::IsFunctionExported(const char* function, const char* module) {
  HMODULE m = GetModuleHandleA(module);
  bool loaded = false;
  if (!m) {
    m = LoadLibraryA(module);
    if (!m) return false;
    loaded = true;
  }
  bool found = GetProcAddress(m, function) != nullptr;
  if (loaded) FreeLibrary(m);
  return found;
}

void SorvButton::StartTracking() {
  if (!hwnd_ || subclass_.IsHooked(hwnd_)) return;
  trackingAvailable_ = true;
  useUser32Tracking_ = IsFunctionExported("TrackMouseEvent", "User32");
  if (!useUser32Tracking_ && !IsFunctionExported("_TrackMouseEvent", "Comctl32"))
    trackingAvailable_ = false;
  if (!trackingAvailable_) return;
  subclass_.StartSubclass(hwnd_);
  for (UINT m : {WM_MOUSEMOVE, WM_MOUSELEAVE, WM_THEMECHANGED, WM_SYSCOLORCHANGE})
    subclass_.AddMessage(hwnd_, m, 1);
}

void SorvButton::RequestMouseLeave(HWND window) {
  if (!trackingAvailable_) return;
  TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, window, 0};
  if (useUser32Tracking_)
    TrackMouseEvent(&tme);
  else
    _TrackMouseEvent(&tme);
}

long SorvButton::zSubclass_Proc(bool, bool&, LRESULT&, HWND lng_hWnd, UINT uMsg, WPARAM, LPARAM) {
  try {
    switch (uMsg) {
      case WM_MOUSEMOVE:
        if (isOver_) break;
        isOver_ = true;
        RequestMouseLeave(lng_hWnd);
        st_.ButtonState = StateHot;
        Refresh();
        Raise(MouseEnter);
        ShowTooltip();
        break;
      case WM_MOUSELEAVE:
        isOver_ = false;
        st_.ButtonState = StateNormal;
        RemoveTooltip();
        Refresh();
        Raise(MouseLeave);
        break;
      case WM_THEMECHANGED:
      case WM_SYSCOLORCHANGE:
        Refresh();
        break;
    }
  } catch (...) {
    return 1;  // never across the window procedure
  }
  return 0;
}

}  // namespace sorvbutton
