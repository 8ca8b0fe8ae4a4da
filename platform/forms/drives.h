// File and drive queries: what the programs ask of the file system.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace forms {

// True for an existing file (not a folder).
bool FileExists(const std::wstring& path);
// True when the drive letter of `drive` ("G", "G:" or "G:\...") is defined, also when a
// device of our driver serves it and no file system answers on it.
// Under UAC a letter of the user's other logon session counts too (linked_session.h).
bool DriveExists(const std::wstring& drive);

struct Drive {
  enum Type { Unknown = 0, Removable = 1, Fixed = 2, Network = 3, CDRom = 4, RamDisk = 5 };
  wchar_t DriveLetter = 0;
  Type DriveType = Unknown;
  bool IsReady = false;
  std::uint64_t TotalSize = 0;  // bytes; 0 when not ready
  std::uint64_t FreeSpace = 0;  // bytes the user may use
  std::wstring FileSystem;      // "NTFS", "FAT32", ...; empty when not ready
  std::wstring Path() const { return std::wstring(1, DriveLetter) + L":"; }
};

// The drives defined in this program's session, A: to Z:.
std::vector<Drive> Drives();
// One drive from "G", "G:" or "G:\..."; DriveLetter 0 when the text names none.
Drive GetDrive(const std::wstring& drive);

}  // namespace forms
