// The five operations against the virtual-disk driver, and the command that picks
// one. Results: 0 success, negative failure (-1 to -6 for UnmountVolume).
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "drive_system.h"

// Writes "<prefix> <system text for GetLastError()>" to standard error.
void ReportLastError(const char* prefix);

int MountImage(DriveSystem& system, unsigned device, const std::vector<uint8_t>& openFileRequest,
               char driveLetter, const char* key);
int UnmountVolume(DriveSystem& system, char driveLetter);
int ForceUnmountVolume(DriveSystem& system, char driveLetter);
int LockContainerFile(DriveSystem& system, unsigned device, char driveLetter,
                      const std::array<uint8_t, 256>& file);
int UnlockContainerFile(DriveSystem& system, unsigned device, char driveLetter);
// What the device serves, asked through a letter that exists only for the request:
// 0 nothing; the letter ('A' to 'Z') it has for every session, whether a container
// is open on it or the letter was left behind; 1 a container without a letter.
int QueryDevice(DriveSystem& system, unsigned device, char driveLetter);

// Splits the line and runs its operation; -1 when the line names none.
int RunCommand(DriveSystem& system, const char* line);
