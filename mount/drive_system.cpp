#include "drive_system.h"

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

HANDLE Win32DriveSystem::OpenDrive(const char* volumePath) {
  return CreateFileA(volumePath, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                     nullptr, OPEN_EXISTING, FILE_FLAG_NO_BUFFERING, nullptr);
}

bool Win32DriveSystem::Send(HANDLE drive, DWORD code, const void* input, DWORD size) {
  DWORD returned;
  return DeviceIoControl(drive, code, const_cast<void*>(input), size, nullptr, 0, &returned,
                         nullptr) != 0;
}

void Win32DriveSystem::CloseDrive(HANDLE drive) { CloseHandle(drive); }
