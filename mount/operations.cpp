#include "operations.h"

#include <winioctl.h>

#include <cstdio>

#include "command.h"
#include "sorvdisk_ioctl.h"

namespace {

struct DriveNames {
  char drive[3];   // "X:", the DOS device name
  char volume[7];  // "\\.\X:", to open the volume
  explicit DriveNames(char letter)
      : drive{letter, ':', 0}, volume{'\\', '\\', '.', '\\', letter, ':', 0} {}
};

struct DeviceName {
  char text[48];
  explicit DeviceName(unsigned device) {
    snprintf(text, sizeof text, "\\Device\\SorvDisk\\SorvDisk%u", device);
  }
};

void Say(const char* text) {
  fputs(text, stdout);
  fflush(stdout);
}

// Whether the letter names a drive already; reports the busy error with the drive
// name when it does. A definition that cannot be opened counts too: defining ours
// over it would hide it. So does the user's other session's letter, which would hide
// ours there.
bool LetterInUse(DriveSystem& system, const DriveNames& names) {
  HANDLE drive = system.OpenDrive(names.volume);
  bool used = drive != INVALID_HANDLE_VALUE;
  if (used)
    system.CloseDrive(drive);
  else
    used = system.DriveDefined(names.drive) || system.OtherSessionHas(names.drive[0]);
  if (used) {
    SetLastError(ERROR_BUSY);
    ReportLastError(names.drive);
  }
  return used;
}

// Maps a free letter onto the driver's device and opens it. On failure everything
// is reported and undone, and the result is INVALID_HANDLE_VALUE.
HANDLE DefineAndOpen(DriveSystem& system, const DriveNames& names, unsigned device) {
  if (LetterInUse(system, names)) return INVALID_HANDLE_VALUE;
  DeviceName deviceName(device);
  printf("DeviceName:[%s]\n", deviceName.text);
  fflush(stdout);
  if (!system.DefineDrive(names.drive, deviceName.text)) {
    ReportLastError(names.drive);
    return INVALID_HANDLE_VALUE;
  }
  HANDLE drive = system.OpenDrive(names.volume);
  if (drive == INVALID_HANDLE_VALUE) {
    ReportLastError(names.drive);
    system.RemoveDrive(names.drive);
  }
  return drive;
}

// The letter defined so far is the caller's logon session's alone: under UAC an
// elevated caller's, which the user's own programs never see. The driver names it for
// every session instead; the caller's definition goes first, or it would be in the way
// where all sessions share one namespace. The open handle needs no letter.
bool ShareLetter(DriveSystem& system, HANDLE drive, const DriveNames& names) {
  if (!system.RemoveDrive(names.drive)) {
    ReportLastError(names.drive);
    return false;
  }
  if (!system.Send(drive, kIoctlLinkLetter, names.drive, 1)) {
    ReportLastError("SorvDisk:");
    return false;
  }
  return true;
}

// Removes the letter for every session, then the caller's own definition when one is
// left (a drive mounted before the driver named the letters).
bool DropLetter(DriveSystem& system, HANDLE drive, const DriveNames& names) {
  if (!system.Send(drive, kIoctlUnlinkLetter, nullptr, 0)) {
    ReportLastError("SorvDisk:");
    return false;
  }
  if (system.DriveDefined(names.drive) && !system.RemoveDrive(names.drive)) {
    ReportLastError(names.drive);
    return false;
  }
  return true;
}

// A volume that no file system has mounted has nothing to dismount. Such a device
// refuses the request as a function it lacks (Wine answers every driver's device so,
// as a bad device type); nothing mounted is as good as dismounted.
bool Dismount(DriveSystem& system, HANDLE drive) {
  if (system.Send(drive, FSCTL_DISMOUNT_VOLUME, nullptr, 0)) return true;
  DWORD error = GetLastError();
  return error == ERROR_INVALID_FUNCTION || error == ERROR_NOT_SUPPORTED ||
         error == ERROR_BAD_DEV_TYPE;
}

// Lock and unlock: the letter exists only for the length of the request. The result
// says whether it could be made and removed again, not what the driver answered.
int RequestThroughTemporaryDrive(DriveSystem& system, unsigned device, char letter, DWORD code,
                                 const void* input, DWORD size) {
  DriveNames names(letter);
  HANDLE drive = DefineAndOpen(system, names, device);
  if (drive == INVALID_HANDLE_VALUE) return -1;
  printf("IoControlCode:[%#x]", static_cast<unsigned>(code));
  fflush(stdout);
  if (!system.Send(drive, code, input, size)) ReportLastError("SorvDisk:");
  system.CloseDrive(drive);
  if (!system.RemoveDrive(names.drive)) {
    ReportLastError(names.drive);
    return -1;
  }
  return 0;
}

}  // namespace

void ReportLastError(const char* prefix) {
  DWORD code = GetLastError();
  char* text = nullptr;
  DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  if (length && text)
    fprintf(stderr, "%s %s", prefix, text);
  else
    fprintf(stderr, "%s error %lu\n", prefix, code);
  if (text) LocalFree(text);
  fflush(stderr);
}

int MountImage(DriveSystem& system, unsigned device, const std::vector<uint8_t>& openFileRequest,
               char driveLetter, const char* key) {
  DriveNames names(driveLetter);
  HANDLE drive = DefineAndOpen(system, names, device);
  if (drive == INVALID_HANDLE_VALUE) return -1;
  if (!system.Send(drive, kIoctlOpenFile, openFileRequest.data(),
                   static_cast<DWORD>(openFileRequest.size()))) {
    ReportLastError("SorvDisk:");
    system.CloseDrive(drive);
    system.RemoveDrive(names.drive);
    return -1;
  }
  std::array<uint8_t, 32> setKey = SetKeyRequest(key);
  bool keyed = system.Send(drive, kIoctlSetKey, setKey.data(), kSetKeySize);
  SecureZeroMemory(setKey.data(), setKey.size());
  if (!keyed) {
    // A drive without its key serves nothing: undo the mount rather than report success.
    Say("IoControl SetKey : error.\n");
    ReportLastError("SorvDisk:");
    system.Send(drive, kIoctlCloseFile, nullptr, 0);
    system.CloseDrive(drive);
    system.RemoveDrive(names.drive);
    return -1;
  }
  Say("IoControl SetKey : OK.\n");
  if (!ShareLetter(system, drive, names)) {
    system.Send(drive, kIoctlCloseFile, nullptr, 0);
    system.CloseDrive(drive);
    return -1;
  }
  system.CloseDrive(drive);
  system.Announce(driveLetter, true);
  return 0;
}

int UnmountVolume(DriveSystem& system, char driveLetter) {
  DriveNames names(driveLetter);
  HANDLE drive = system.OpenDrive(names.volume);
  if (drive == INVALID_HANDLE_VALUE) return -1;
  if (!system.Send(drive, FSCTL_LOCK_VOLUME, nullptr, 0)) {  // files open on the drive
    system.CloseDrive(drive);
    return -2;
  }
  int failed = 0;
  const char* prefix = names.drive;
  if (!system.Send(drive, kIoctlCloseFile, nullptr, 0)) {
    failed = -3;
    prefix = "SorvDisk:";
  } else if (!Dismount(system, drive)) {
    failed = -4;
  } else if (!system.Send(drive, FSCTL_UNLOCK_VOLUME, nullptr, 0)) {
    failed = -5;
  }
  if (failed) {
    ReportLastError(prefix);
    system.CloseDrive(drive);
    return failed;
  }
  const bool dropped = DropLetter(system, drive, names);
  system.CloseDrive(drive);
  if (!dropped) return -6;
  system.Announce(driveLetter, false);
  return 0;
}

int ForceUnmountVolume(DriveSystem& system, char driveLetter) {
  DriveNames names(driveLetter);
  HANDLE drive = system.OpenDrive(names.volume);
  if (drive == INVALID_HANDLE_VALUE) {
    ReportLastError(names.drive);
    return -1;
  }
  // No volume lock: open files on the drive do not stop this.
  if (!system.Send(drive, kIoctlCloseFile, nullptr, 0)) {
    ReportLastError("SorvDisk:");
    system.CloseDrive(drive);
    return -1;
  }
  if (!Dismount(system, drive)) {
    ReportLastError(names.drive);
    system.CloseDrive(drive);
    return -1;
  }
  const bool dropped = DropLetter(system, drive, names);
  system.CloseDrive(drive);
  if (!dropped) return -1;
  system.Announce(driveLetter, false);
  return 0;
}

int LockContainerFile(DriveSystem& system, unsigned device, char driveLetter,
                      const std::array<uint8_t, 256>& file) {
  printf("from srlockfile...\ndrive letter: %c\nFileName:%s\n", driveLetter,
         reinterpret_cast<const char*>(file.data()));
  fflush(stdout);
  return RequestThroughTemporaryDrive(system, device, driveLetter, kIoctlLockFile, file.data(),
                                      kLockFileSize);
}

int UnlockContainerFile(DriveSystem& system, unsigned device, char driveLetter) {
  printf("from srUnlockfile...\ndrive letter: %c\n", driveLetter);
  fflush(stdout);
  return RequestThroughTemporaryDrive(system, device, driveLetter, kIoctlUnlockFile, nullptr, 0);
}

int QueryDevice(DriveSystem& system, unsigned device, char driveLetter) {
  DriveNames names(driveLetter);
  HANDLE drive = DefineAndOpen(system, names, device);
  if (drive == INVALID_HANDLE_VALUE) return -1;
  unsigned char answer[kQueryDeviceSize] = {};
  const bool asked = system.Ask(drive, kIoctlQueryDevice, answer, sizeof answer);
  if (!asked) ReportLastError("SorvDisk:");
  system.CloseDrive(drive);
  if (!system.RemoveDrive(names.drive)) {
    ReportLastError(names.drive);
    return -1;
  }
  if (!asked) return -1;
  const unsigned char letter = answer[1] & ~0x20;
  if (letter >= 'A' && letter <= 'Z') return letter;
  return answer[0] ? 1 : 0;
}

namespace {

int Run(DriveSystem& system, const Command& c) {
  switch (c.operation) {
    case Operation::Mount:
      return MountImage(system, c.device, OpenFileRequest(c.path), c.drive, c.key);
    case Operation::Unmount:
      return UnmountVolume(system, c.drive);
    case Operation::Kill:
      return ForceUnmountVolume(system, c.drive);
    case Operation::LockFile:
      return LockContainerFile(system, c.device, c.drive, LockFileRequest(c.path));
    case Operation::UnlockFile:
      return UnlockContainerFile(system, c.device, c.drive);
    case Operation::Query:
      return QueryDevice(system, c.device, c.drive);
    case Operation::None:
      break;
  }
  return -1;
}

}  // namespace

int RunCommand(DriveSystem& system, const char* line) {
  WordTable table;
  int result = Run(system, ParseCommand(line, &table));
  SecureZeroMemory(&table, sizeof table);  // it holds the key of a mount
  return result;
}
