#include "FileSize.h"

#include <windows.h>

int32_t GetFileSize(const std::wstring& path) {
  HANDLE h =
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return 0;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(h, &size)) size.QuadPart = 0;
  CloseHandle(h);
  const uint64_t bytes = uint64_t(size.QuadPart);
  const uint64_t half = 1u << 19;
  uint64_t mib = bytes >> 20, rest = bytes & ((1u << 20) - 1);
  if (rest > half || (rest == half && (mib & 1))) ++mib;
  return int32_t(mib);
}

int64_t FileBytes(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return -1;
  return (int64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool IsWholeContainerLength(int64_t bytes) {
  return bytes >= int64_t(10) << 20 && (bytes - 1024) % 512 == 0;
}

bool FileIsHeld(const std::wstring& path) {
  HANDLE h =
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h != INVALID_HANDLE_VALUE) {
    CloseHandle(h);
    return false;
  }
  const DWORD error = GetLastError();
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}
