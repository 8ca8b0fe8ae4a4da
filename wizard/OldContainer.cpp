#include "OldContainer.h"

#include <cstring>
#include <vector>

namespace wizard {
namespace {

// No sharing, and a link is opened itself rather than followed.
HANDLE OpenToMove(const std::wstring& path) {
  return CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, 0,
                     nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

bool Missing(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

// Never over another file.
bool RenameTo(HANDLE file, const std::wstring& target) {
  std::vector<BYTE> buffer(sizeof(FILE_RENAME_INFO) + target.size() * sizeof(wchar_t));
  auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
  info->ReplaceIfExists = FALSE;
  info->RootDirectory = nullptr;
  info->FileNameLength = DWORD(target.size() * sizeof(wchar_t));
  std::memcpy(info->FileName, target.data(), info->FileNameLength);
  return SetFileInformationByHandle(file, FileRenameInfo, info, DWORD(buffer.size()));
}

// The name goes at the handle's close.
bool DeleteByHandle(HANDLE file) {
  FILE_BASIC_INFO basic{};
  basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;  // a read-only file would refuse the delete
  SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof basic);
  FILE_DISPOSITION_INFO disposition{TRUE};
  return SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition);
}

Replacement PutInPlace(HANDLE made, const std::wstring& path, const FileIdentity& checked) {
  HANDLE old = OpenToMove(path);
  if (old == INVALID_HANDLE_VALUE)
    return Missing(GetLastError()) && RenameTo(made, path) ? Replacement::Done
                                                           : Replacement::Failed;
  Replacement result = Replacement::Other;
  if (IsSame(IdentityOf(old), checked)) {
    result = Replacement::Failed;
    if (RenameTo(old, path + kAsideSuffix)) {
      if (RenameTo(made, path)) {
        result = Replacement::Done;
        DeleteByHandle(old);  // left aside if refused: the next start removes it
      } else {
        RenameTo(old, path);  // back; if refused, the next start puts it back
      }
    }
  }
  CloseHandle(old);
  return result;
}

}  // namespace

HeldFile::HeldFile(const std::wstring& path)
    : handle_(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                          nullptr, OPEN_EXISTING, 0, nullptr)) {}

HeldFile::~HeldFile() {
  if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
}

Replacement ReplaceIfSame(const std::wstring& path, const std::wstring& made,
                          const FileIdentity& checked) {
  HANDLE file = OpenToMove(made);
  if (file == INVALID_HANDLE_VALUE) return Replacement::Failed;
  const Replacement result = PutInPlace(file, path, checked);
  if (result != Replacement::Done) DeleteByHandle(file);
  CloseHandle(file);
  return result;
}

bool RemoveFile(const std::wstring& path) {
  HANDLE file = OpenToMove(path);
  if (file == INVALID_HANDLE_VALUE) return Missing(GetLastError());
  const bool deleted = DeleteByHandle(file);
  CloseHandle(file);
  return deleted;
}

void SettleLeftovers(const std::wstring& path) {
  RemoveFile(path + kMakingSuffix);
  HANDLE old = OpenToMove(path + kAsideSuffix);
  if (old == INVALID_HANDLE_VALUE) return;
  // Taken only by a file: what the new container's rename put there.
  if (!RenameTo(old, path) && GetLastError() == ERROR_ALREADY_EXISTS) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
      DeleteByHandle(old);
  }
  CloseHandle(old);
}

}  // namespace wizard
