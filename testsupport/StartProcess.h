#pragma once
// Tests that start programs of their own.
#include <windows.h>

#include <cstdio>
#include <string>

namespace testsupport {

// Starts a command line. Under Wine a process start now and then fails while other test
// programs start and end; what the tests look at is the program, so a failed start is tried
// again, with the error printed.
inline bool StartProcess(std::wstring line, PROCESS_INFORMATION& info, DWORD flags = 0) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, flags, nullptr, nullptr,
                       &si, &info))
      return true;
    printf("process start failed (error %lu): %ls\n", GetLastError(), line.c_str());
    Sleep(200);
  }
  return false;
}

}  // namespace testsupport
