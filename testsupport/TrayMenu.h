// Quitting start.exe as a user does: the right button on its icon, the menu's last item
// ("退出"), then Yes.
#pragma once
#include <windows.h>

#include "MessageBoxes.h"
#include "Processes.h"

namespace testsupport {

// `window` is the tray program's (hidden) prompt, which owns the icon. Right after the prompt
// hides, Wine hands the focus it gave up to the desktop a moment later; a menu opened in
// between closes at once, unchosen, and the keys sent to it are lost. So, as a user would,
// the menu is opened again until the question comes.
inline bool QuitThroughTrayMenu(const Program& tray, HWND window) {
  constexpr UINT kTrayCallback = WM_USER + 1;
  if (!WaitFor([&] { return !IsWindowVisible(window); }, 10000)) return false;
  ShownBox ask;
  for (const DWORD start = GetTickCount(); !ask && GetTickCount() - start < 40000;) {
    PostMessageW(window, kTrayCallback, 0, WM_RBUTTONUP);
    if (HWND menu = tray.Window(L"#32768", nullptr, 2000)) {
      PostMessageW(menu, WM_KEYDOWN, VK_UP, 0);
      PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
      WaitFor([&] { return !IsWindowVisible(menu); }, 5000);
    }
    ask = WaitForBox(tray.info.dwProcessId, L"要退出程序吗？", 5000);
  }
  if (!ask) return false;
  ask.Answer(IDYES);
  return tray.Exited(30000);
}

}  // namespace testsupport
