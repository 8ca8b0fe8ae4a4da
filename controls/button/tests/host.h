// A plain top-level window to hold buttons in tests, and message helpers.
#pragma once
#include <windows.h>

#include "button.h"

namespace sorvbutton::test {

class HostWindow {
 public:
  explicit HostWindow(int w = 420, int h = 300) {
    static bool registered = false;
    if (!registered) {
      WNDCLASSW wc{};
      wc.lpfnWndProc = DefWindowProcW;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
      wc.lpszClassName = L"SorvButtonTestHost";
      registered = RegisterClassW(&wc) != 0;
    }
    // A popup without caption: X leaves it unmanaged, so closing it waits for no manager.
    hwnd = CreateWindowExW(0, L"SorvButtonTestHost", L"按钮", WS_POPUP,
                           20, 20, w, h, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  ~HostWindow() { DestroyWindow(hwnd); }
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;
  HWND hwnd;
};

struct EventCount {
  int click = 0, enter = 0, leave = 0;
  void Wire(SorvButton& b) {
    b.Click = [this] { ++click; };
    b.MouseEnter = [this] { ++enter; };
    b.MouseLeave = [this] { ++leave; };
  }
};

inline void Send(HWND w, UINT m, WPARAM wp = 0, LPARAM lp = MAKELPARAM(5, 5)) {
  SendMessageW(w, m, wp, lp);
}

}  // namespace sorvbutton::test
