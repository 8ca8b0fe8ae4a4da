#include "command_lock.h"

#include <sddl.h>

#include <cstdio>
#include <cwchar>

#include "operations.h"
#include "private_names.h"

namespace {

// Only administrators and SYSTEM may take it: every program of the session could
// otherwise hold it and keep each of ours waiting at its start. In the private namespace
// no other program can make the name first; where the system has none, a program that
// made it first keeps its own security, and the time limit is for that case.
HANDLE OpenCommandSemaphore() {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  SECURITY_ATTRIBUTES attributes = {sizeof attributes, nullptr, FALSE};
  if (ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;;GA;;;SY)(A;;GA;;;BA)",
                                                           SDDL_REVISION_1, &descriptor, nullptr))
    attributes.lpSecurityDescriptor = descriptor;
  HANDLE semaphore =
      CreateSemaphoreW(&attributes, 1, 1, forms::GuardedName(L"SorvMount").c_str());
  if (descriptor) LocalFree(descriptor);
  return semaphore;
}

// In the ANSI code page, as the system's own messages on the same stream.
void SayTimedOut(DWORD waitMs) {
  wchar_t text[160];
  swprintf(text, 160,
           L"SorvMount: 另一个程序占着命令信号量“SorvMount”，等了 %lu 秒仍未释放，命令没有执行。\n",
           waitMs / 1000);
  char ansi[320];
  if (WideCharToMultiByte(CP_ACP, 0, text, -1, ansi, sizeof ansi, nullptr, nullptr))
    fputs(ansi, stderr);
  fflush(stderr);
}

}  // namespace

int RunSerialised(DriveSystem& system, const char* line, DWORD waitMs) {
  HANDLE semaphore = OpenCommandSemaphore();  // without it, run unserialised
  if (semaphore && WaitForSingleObject(semaphore, waitMs) != WAIT_OBJECT_0) {
    CloseHandle(semaphore);
    SayTimedOut(waitMs);
    SetLastError(ERROR_TIMEOUT);
    return -1;
  }
  int result = RunCommand(system, line ? line : "");
  if (semaphore) {
    ReleaseSemaphore(semaphore, 1, nullptr);
    CloseHandle(semaphore);
  }
  return result;
}
