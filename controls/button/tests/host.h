// A plain top-level window to hold buttons in tests, and message helpers.
#pragma once
#include <windows.h>

#include "button.h"

namespace sorvbutton::test {

// A popup without caption: X leaves it unmanaged, so closing it waits for no manager.
struct HostWindow {
  HWND hwnd = CreateWindowExW(0, L"STATIC", L"按钮", WS_POPUP, 20, 20, 420, 300, nullptr, nullptr,
                              nullptr, nullptr);
  ~HostWindow() { DestroyWindow(hwnd); }
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
