// The command semaphore "SorvMount": one mount command at a time across all processes.
#pragma once

#include <windows.h>

#include "drive_system.h"

// Longer than any command takes; a holder past it is no command of ours.
constexpr DWORD kCommandWaitMs = 30000;

// Runs the line as RunCommand does, under the semaphore. When another process holds
// it for waitMs, nothing runs: the result is -1, the last error ERROR_TIMEOUT, and a
// line on standard error says why.
int RunSerialised(DriveSystem& system, const char* line, DWORD waitMs);
