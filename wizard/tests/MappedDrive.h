#pragma once
// A drive letter that serves a folder, as a user's second disk would: the system's own mount
// manager maps it (the way its drive settings do), so the letter reports fixed and NTFS.
#include <windows.h>
#include <winioctl.h>

#include <cstring>
#include <string>

class MappedDrive {
 public:
  // The first free letter from `from` on, mapped onto folder.
  MappedDrive(const std::wstring& folder, wchar_t from = L'K') {
    using UnixName = char*(CDECL*)(const wchar_t*);
    auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
    if (!unixName) return;
    const char* target = unixName(folder.c_str());
    for (wchar_t c = from; c <= L'Z' && !letter_; ++c)
      if (!(GetLogicalDrives() & (1u << (c - L'A'))) && Define(c, DRIVE_FIXED, target)) letter_ = c;
    HeapFree(GetProcessHeap(), 0, const_cast<char*>(target));
  }
  ~MappedDrive() {
    if (letter_) Define(letter_, DRIVE_NO_ROOT_DIR, nullptr);
  }
  wchar_t Letter() const { return letter_; }
  std::wstring Drive() const { return {letter_, L':'}; }

 private:
  // The mount manager's request for a drive served by a host folder.
  struct Request {
    ULONG size, type, fsType;
    DWORD serial;
    ULONGLONG unixDev;
    WCHAR letter;
    USHORT mountPointOffset, deviceOffset, labelOffset;
  };
  static bool Define(wchar_t letter, ULONG type, const char* unixPath) {
    HANDLE mm = CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (mm == INVALID_HANDLE_VALUE) return false;
    char buffer[sizeof(Request) + MAX_PATH * 4] = {};
    auto* r = reinterpret_cast<Request*>(buffer);
    r->size = sizeof(Request);
    r->type = type;
    r->letter = WCHAR(towlower(letter));
    if (unixPath && std::strlen(unixPath) < MAX_PATH * 4) {
      r->mountPointOffset = sizeof(Request);
      std::strcpy(buffer + sizeof(Request), unixPath);
      r->size += ULONG(std::strlen(unixPath) + 1);
    }
    DWORD returned = 0;
    const DWORD defineUnixDrive =
        CTL_CODE(0x6d, 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);
    bool ok = DeviceIoControl(mm, defineUnixDrive, buffer, r->size, nullptr, 0, &returned, nullptr);
    CloseHandle(mm);
    return ok;
  }

  wchar_t letter_ = 0;
};
