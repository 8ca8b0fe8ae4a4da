// Message boxes as a test harness finds, reads and answers them. A box window exists before
// its text is set: a harness that reads the text as soon as the box is found can read ""
// and then answer a box it never saw. So a box counts as found only once its message has
// been read non-empty, and waiting for one is bounded.
#pragma once
#include <windows.h>

#include <string>

namespace testsupport {

struct ShownBox {
  HWND hwnd = nullptr;
  std::wstring title, text;  // text: the message, never empty for a found box
  explicit operator bool() const { return hwnd != nullptr; }
  // Answers with a button (IDOK, IDYES, ...), posted so that the harness never blocks on it.
  void Answer(int button) const { PostMessageW(hwnd, WM_COMMAND, button, 0); }
};

// One look: a visible message box of process `pid` (any process when 0) with caption `title`
// (any when null) whose message reads non-empty.
inline ShownBox FindBox(DWORD pid, const wchar_t* title) {
  for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, L"#32770", title));) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if ((pid && owner != pid) || !IsWindowVisible(w)) continue;
    wchar_t text[1024] = {}, caption[256] = {};
    if (GetDlgItemTextW(w, 0xFFFF, text, 1024) > 0) {  // 0xFFFF: the box's message
      GetWindowTextW(w, caption, 256);
      return {w, caption, text};
    }
  }
  return {};
}

// Looks again every 20 ms until such a box is found or `ms` milliseconds have passed.
inline ShownBox WaitForBox(DWORD pid, const wchar_t* title, DWORD ms) {
  for (const DWORD start = GetTickCount();; Sleep(20)) {
    if (ShownBox box = FindBox(pid, title)) return box;
    if (GetTickCount() - start >= ms) return {};
  }
}

}  // namespace testsupport
