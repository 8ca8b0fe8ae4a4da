// SorvMount.dll: one export that carries out a mount command line, one command at
// a time across all processes.
#include <windows.h>

#include "command_lock.h"

extern "C" int __stdcall SorvMount(const char* commandLine) {
  Win32DriveSystem system;
  return RunSerialised(system, commandLine, kCommandWaitMs);
}
