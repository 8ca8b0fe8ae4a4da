#include "drive_system.h"

#include <dbt.h>

#include "linked_session.h"

bool Win32DriveSystem::DefineDrive(const char* driveName, const char* deviceName) {
  return DefineDosDeviceA(DDD_RAW_TARGET_PATH, driveName, deviceName) != 0;
}

bool Win32DriveSystem::RemoveDrive(const char* driveName) {
  return DefineDosDeviceA(DDD_REMOVE_DEFINITION, driveName, nullptr) != 0;
}

bool Win32DriveSystem::DriveDefined(const char* driveName) {
  char target[MAX_PATH];
  DWORD error = GetLastError();
  bool defined = QueryDosDeviceA(driveName, target, MAX_PATH) != 0 ||
                 GetLastError() == ERROR_INSUFFICIENT_BUFFER;
  SetLastError(error);
  return defined;
}

bool Win32DriveSystem::OtherSessionHas(char driveLetter) {
  const int unit = (driveLetter | 0x20) - 'a';
  return unit >= 0 && unit < 26 && (forms::LinkedSessionDrives() >> unit & 1);
}

HANDLE Win32DriveSystem::OpenDrive(const char* volumePath) {
  return CreateFileA(volumePath, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                     nullptr, OPEN_EXISTING, FILE_FLAG_NO_BUFFERING, nullptr);
}

bool Win32DriveSystem::Send(HANDLE drive, DWORD code, const void* input, DWORD size) {
  DWORD returned;
  return DeviceIoControl(drive, code, const_cast<void*>(input), size, nullptr, 0, &returned,
                         nullptr) != 0;
}

bool Win32DriveSystem::Ask(HANDLE drive, DWORD code, void* output, DWORD size) {
  DWORD returned = 0;
  return DeviceIoControl(drive, code, nullptr, 0, output, size, &returned, nullptr) &&
         returned == size;
}

void Win32DriveSystem::CloseDrive(HANDLE drive) { CloseHandle(drive); }

// Sent, not posted: the volume record travels with the message. A program that does
// not answer within the time is passed over, so a hung one holds nobody up.
void Win32DriveSystem::Announce(char driveLetter, bool arrived) {
  const int unit = (driveLetter | 0x20) - 'a';
  if (unit < 0 || unit >= 26) return;
  DEV_BROADCAST_VOLUME volume = {};
  volume.dbcv_size = sizeof volume;
  volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
  volume.dbcv_unitmask = 1u << unit;
  DWORD_PTR answer;
  SendMessageTimeoutA(HWND_BROADCAST, WM_DEVICECHANGE,
                      arrived ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE,
                      reinterpret_cast<LPARAM>(&volume), SMTO_ABORTIFHUNG, 500, &answer);
}
