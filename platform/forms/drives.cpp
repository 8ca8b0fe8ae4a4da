#include "drives.h"

#include <windows.h>

#include "linked_session.h"

namespace forms {
namespace {

wchar_t LetterOf(const std::wstring& drive) {
  if (drive.empty()) return 0;
  wchar_t c = drive[0];
  if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
  if (c < L'A' || c > L'Z') return 0;
  if (drive.size() > 1 && drive[1] != L':') return 0;
  return c;
}

Drive::Type TypeOf(UINT t) {
  switch (t) {
    case DRIVE_REMOVABLE:
      return Drive::Removable;
    case DRIVE_FIXED:
      return Drive::Fixed;
    case DRIVE_REMOTE:
      return Drive::Network;
    case DRIVE_CDROM:
      return Drive::CDRom;
    case DRIVE_RAMDISK:
      return Drive::RamDisk;
  }
  return Drive::Unknown;
}

Drive Query(wchar_t letter) {
  Drive d;
  d.DriveLetter = letter;
  wchar_t root[] = {letter, L':', L'\\', 0};
  d.DriveType = TypeOf(GetDriveTypeW(root));
  // An empty floppy or card reader must not bring up the system's "insert a disk" box.
  UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  wchar_t fs[MAX_PATH + 1] = {};
  d.IsReady = GetVolumeInformationW(root, nullptr, 0, nullptr, nullptr, nullptr, fs, MAX_PATH + 1);
  if (d.IsReady) {
    d.FileSystem = fs;
    ULARGE_INTEGER avail{}, total{}, free{};
    if (GetDiskFreeSpaceExW(root, &avail, &total, &free)) {
      d.TotalSize = total.QuadPart;
      d.FreeSpace = avail.QuadPart;
    }
  }
  SetErrorMode(oldMode);
  return d;
}

// Defined in this program's own logon session.
bool DefinedHere(wchar_t letter) {
  if (GetLogicalDrives() & (1u << (letter - L'A'))) return true;
  wchar_t name[] = {letter, L':', 0};
  wchar_t target[MAX_PATH];
  return QueryDosDeviceW(name, target, MAX_PATH) != 0;
}

}  // namespace

bool FileExists(const std::wstring& path) {
  DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DriveExists(const std::wstring& drive) {
  wchar_t letter = LetterOf(drive);
  if (!letter) return false;
  return DefinedHere(letter) || (LinkedSessionDrives() & (1u << (letter - L'A')));
}

// Only drives this program can reach: the other session's letters lead nowhere here.
std::vector<Drive> Drives() {
  std::vector<Drive> list;
  for (wchar_t c = L'A'; c <= L'Z'; ++c)
    if (DefinedHere(c)) list.push_back(Query(c));
  return list;
}

Drive GetDrive(const std::wstring& drive) {
  wchar_t letter = LetterOf(drive);
  return letter ? Query(letter) : Drive{};
}

}  // namespace forms
