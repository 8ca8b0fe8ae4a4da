// The narrow seam between the mount operations and the system: drive letters,
// the drive's handle, and requests sent on it. Tests put a scripted device here.
#pragma once

#include <windows.h>

class DriveSystem {
 public:
  virtual ~DriveSystem() = default;
  // DefineDosDeviceA with DDD_RAW_TARGET_PATH onto the driver's device.
  virtual bool DefineDrive(const char* driveName, const char* deviceName) = 0;
  virtual bool RemoveDrive(const char* driveName) = 0;
  // Whether the DOS device name has any definition, openable or not.
  virtual bool DriveDefined(const char* driveName) = 0;
  // Whether the user's other logon session (under UAC) has the letter.
  virtual bool OtherSessionHas(char driveLetter) = 0;
  // The volume, read and write, no buffering; INVALID_HANDLE_VALUE on failure.
  virtual HANDLE OpenDrive(const char* volumePath) = 0;
  // DeviceIoControl without output buffer.
  virtual bool Send(HANDLE drive, DWORD code, const void* input, DWORD size) = 0;
  // DeviceIoControl without input; true when the answer filled the output.
  virtual bool Ask(HANDLE drive, DWORD code, void* output, DWORD size) = 0;
  virtual void CloseDrive(HANDLE drive) = 0;
  // Tells the shell and every program that the drive came or went.
  virtual void Announce(char driveLetter, bool arrived) = 0;
};

// The real thing.
class Win32DriveSystem : public DriveSystem {
 public:
  bool DefineDrive(const char* driveName, const char* deviceName) override;
  bool RemoveDrive(const char* driveName) override;
  bool DriveDefined(const char* driveName) override;
  bool OtherSessionHas(char driveLetter) override;
  HANDLE OpenDrive(const char* volumePath) override;
  bool Send(HANDLE drive, DWORD code, const void* input, DWORD size) override;
  bool Ask(HANDLE drive, DWORD code, void* output, DWORD size) override;
  void CloseDrive(HANDLE drive) override;
  void Announce(char driveLetter, bool arrived) override;
};
