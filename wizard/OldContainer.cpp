#include "OldContainer.h"

namespace wizard {

FileIdentity IdentityOf(HANDLE file) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (file == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(file, &info)) return {};
  return {info.dwVolumeSerialNumber,
          (ULONGLONG(info.nFileIndexHigh) << 32) | info.nFileIndexLow, true};
}

HeldFile::HeldFile(const std::wstring& path)
    : handle_(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                          nullptr, OPEN_EXISTING, 0, nullptr)) {}

HeldFile::~HeldFile() {
  if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
}

Removal DeleteIfSame(const std::wstring& path, const FileIdentity& checked) {
  // No sharing: the name goes at this handle's close, and nothing else holds the file then.
  HANDLE file = CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                            0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? Removal::Gone
                                                                          : Removal::Failed;
  }
  const FileIdentity now = IdentityOf(file);
  Removal result = Removal::Replaced;
  if (checked.known && now.known && now.volume == checked.volume && now.index == checked.index) {
    FILE_BASIC_INFO basic{};
    basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;  // a read-only file would refuse the delete
    FILE_DISPOSITION_INFO disposition{TRUE};
    SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof basic);
    result = SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition)
                 ? Removal::Deleted
                 : Removal::Failed;
  }
  CloseHandle(file);
  if (result == Removal::Deleted && GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES)
    result = Removal::Failed;
  return result;
}

}  // namespace wizard
