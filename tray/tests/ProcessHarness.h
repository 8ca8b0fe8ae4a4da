#pragma once
// Drives a real program from outside: starts it, finds its windows, reads and answers its
// message boxes, types and clicks.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class ProcessHarness {
public:
  ~ProcessHarness();
  // Starts the program without arguments; false when it could not be started.
  bool Start(const std::wstring& exe);
  DWORD Pid() const { return info_.dwProcessId; }
  bool Running() const;
  // Waits for the process to end; false on time-out.
  bool WaitExit(DWORD ms);

  // A visible top-level window of the process with this class ("" any) and caption ("" any).
  HWND FindWindowOf(const std::wstring& windowClass, const std::wstring& caption) const;
  HWND WaitWindow(const std::wstring& windowClass, const std::wstring& caption, DWORD ms) const;
  // The text of every child window, in z-order.
  static std::vector<std::wstring> ChildTexts(HWND parent);
  // The child with this class and text.
  static HWND Child(HWND parent, const std::wstring& windowClass, const std::wstring& text);
  // Posts a click, so that a modal loop started by it does not block the harness.
  static void Click(HWND button);

private:
  PROCESS_INFORMATION info_{};
};

// Polls `done` every 100 ms until it holds or `ms` have passed.
bool WaitFor(const std::function<bool()>& done, DWORD ms);

// Saves the window as shown on the screen to a 24-bit BMP file.
bool SaveWindowBitmap(HWND hwnd, const std::wstring& file);
