#pragma once
// End-to-end tests: programs of the program folder run as separate processes and driven
// through their windows.
#include <windows.h>

#include <functional>
#include <string>

#include "StartProcess.h"
#include "forms.h"

namespace testsupport {

// Polls done() every 100 ms for up to ms; true when it held.
inline bool WaitFor(const std::function<bool()>& done, DWORD ms) {
  for (DWORD waited = 0; !done(); waited += 100) {
    if (waited >= ms) return false;
    Sleep(100);
  }
  return true;
}

// Posted, so that a modal loop the click starts does not hold up the test.
inline void Click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

// A visible top-level window of process pid (0: any process); a null class or caption matches
// any.
inline HWND FindShown(DWORD pid, const wchar_t* cls, const wchar_t* caption, DWORD ms) {
  HWND found = nullptr;
  WaitFor(
      [&] {
        for (HWND w = nullptr; !found && (w = FindWindowExW(nullptr, w, cls, caption));) {
          DWORD owner = 0;
          GetWindowThreadProcessId(w, &owner);
          if ((!pid || owner == pid) && IsWindowVisible(w)) found = w;
        }
        return found != nullptr;
      },
      ms);
  return found;
}

// A program of the program folder of its own, ended at the latest with the test.
struct Program {
  PROCESS_INFORMATION info{};
  explicit Program(const std::wstring& exeName) {
    StartProcess(L"\"" + forms::AppPath() + L"\\" + exeName + L"\"", info);
  }
  // The program that shows `window`, started by another one.
  explicit Program(HWND window) {
    GetWindowThreadProcessId(window, &info.dwProcessId);
    info.hProcess = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, info.dwProcessId);
  }
  ~Program() {
    if (!Exited(0)) TerminateProcess(info.hProcess, 1);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
  }
  bool Started() const { return info.hProcess != nullptr; }
  bool Exited(DWORD ms) const { return WaitForSingleObject(info.hProcess, ms) == WAIT_OBJECT_0; }
  HWND Window(const wchar_t* cls, const wchar_t* caption, DWORD ms) const {
    return FindShown(info.dwProcessId, cls, caption, ms);
  }
};

// True when the driver's kernel service "Sorvane" runs (it may still be starting: 5 s).
inline bool DriverRunning() {
  SC_HANDLE scm = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
  SC_HANDLE driver = OpenServiceW(scm, L"Sorvane", SERVICE_QUERY_STATUS);
  SERVICE_STATUS status{};
  bool running = WaitFor(
      [&] {
        return QueryServiceStatus(driver, &status) && status.dwCurrentState == SERVICE_RUNNING;
      },
      5000);
  CloseServiceHandle(driver);
  CloseServiceHandle(scm);
  return running;
}

// A child window of parent with this class and text (either may be null), or null.
inline HWND Child(HWND parent, const wchar_t* cls, const wchar_t* text) {
  return FindWindowExW(parent, nullptr, cls, text);
}

}  // namespace testsupport
