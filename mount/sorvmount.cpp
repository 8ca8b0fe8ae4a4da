// SorvMount.dll: one export that carries out a mount command line, one command at
// a time across all processes.
#include <windows.h>

#include "operations.h"

extern "C" int __stdcall SorvMount(const char* commandLine) {
  HANDLE semaphore = CreateSemaphoreA(nullptr, 1, 1, "SorvMount");
  if (semaphore) WaitForSingleObject(semaphore, INFINITE);  // without it, run unserialised
  Win32DriveSystem system;
  int result = RunCommand(system, commandLine ? commandLine : "");
  if (semaphore) {
    ReleaseSemaphore(semaphore, 1, nullptr);
    CloseHandle(semaphore);
  }
  return result;
}
