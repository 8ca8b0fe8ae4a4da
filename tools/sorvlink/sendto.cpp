#include "sendto.h"

#include <winternl.h>

#include "profile_sendto.h"

namespace {

HRESULT FromNt(NTSTATUS status) { return HRESULT_FROM_WIN32(RtlNtStatusToDosError(status)); }

bool SameText(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), int(a.size()), b.c_str(), int(b.size()), TRUE) ==
         CSTR_EQUAL;
}

std::wstring FullPath(const std::wstring& path) {
  wchar_t full[MAX_PATH];
  DWORD length = GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr);
  return length && length < MAX_PATH ? std::wstring(full, length) : std::wstring();
}

// Where the handle's file really is, every link on the way resolved.
std::wstring FinalPath(HANDLE handle) {
  wchar_t path[1024];
  DWORD length = GetFinalPathNameByHandleW(handle, path, 1024, FILE_NAME_NORMALIZED);
  return length && length < 1024 ? std::wstring(path, length) : std::wstring();
}

HANDLE OpenFolder(const std::wstring& path, DWORD flags) {
  return CreateFileW(path.c_str(), FILE_LIST_DIRECTORY | FILE_ADD_FILE | FILE_TRAVERSE | SYNCHRONIZE,
                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                     FILE_FLAG_BACKUP_SEMANTICS | flags, nullptr);
}

// The profile's SendTo folder, opened; null when `folder` is not it or it is reached through
// a link (the folder itself, or one between the profile and it).
HANDLE OpenSendTo(const std::wstring& folder) {
  const std::wstring expected = ProfileSendTo();
  if (expected.empty() || !SameText(FullPath(folder), expected)) return nullptr;
  const std::wstring profile = expected.substr(0, expected.size() - wcslen(kSendToInProfile));
  HANDLE profileHandle = OpenFolder(profile, 0);
  if (profileHandle == INVALID_HANDLE_VALUE) return nullptr;
  const std::wstring profileFinal = FinalPath(profileHandle);
  CloseHandle(profileHandle);

  HANDLE handle = OpenFolder(expected, FILE_FLAG_OPEN_REPARSE_POINT);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  BY_HANDLE_FILE_INFORMATION info{};
  if (profileFinal.empty() || !GetFileInformationByHandle(handle, &info) ||
      (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) !=
          FILE_ATTRIBUTE_DIRECTORY ||
      !SameText(FinalPath(handle), profileFinal + kSendToInProfile)) {
    CloseHandle(handle);
    return nullptr;
  }
  return handle;
}

// A new file `name` in `folder`; fails when anything stands at that name.
NTSTATUS CreateNew(HANDLE folder, const std::wstring& name, HANDLE& file) {
  UNICODE_STRING text{USHORT(name.size() * sizeof(wchar_t)), USHORT(name.size() * sizeof(wchar_t)),
                      const_cast<wchar_t*>(name.c_str())};
  OBJECT_ATTRIBUTES attributes;
  InitializeObjectAttributes(&attributes, &text, OBJ_CASE_INSENSITIVE, folder, nullptr);
  IO_STATUS_BLOCK io{};
  return NtCreateFile(&file, GENERIC_WRITE | DELETE | SYNCHRONIZE, &attributes, &io, nullptr,
                      FILE_ATTRIBUTE_NORMAL, 0, FILE_CREATE,
                      FILE_NON_DIRECTORY_FILE | FILE_SYNCHRONOUS_IO_NONALERT | FILE_OPEN_REPARSE_POINT,
                      nullptr, 0);
}

// Renames the open file to `name` in `folder`, replacing what stands there (a link included,
// which is replaced, not followed).
NTSTATUS RenameInto(HANDLE file, HANDLE folder, const std::wstring& name) {
  const ULONG bytes = ULONG(name.size() * sizeof(wchar_t));
  std::vector<BYTE> buffer(sizeof(FILE_RENAME_INFO) + bytes);
  auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
  rename->ReplaceIfExists = TRUE;
  rename->RootDirectory = folder;
  rename->FileNameLength = bytes;
  memcpy(rename->FileName, name.data(), bytes);
  IO_STATUS_BLOCK io{};
  return NtSetInformationFile(file, &io, rename, ULONG(buffer.size()), FileRenameInformation);
}

HRESULT WriteAndRename(HANDLE folder, const std::wstring& name, const std::vector<BYTE>& bytes) {
  // A new name of our own first, then the one fixed temporary name, so that what a run that
  // was killed half-way left there is replaced by the next run.
  const std::wstring fresh = name + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" +
                             std::to_wstring(GetTickCount64()) + L".tmp";
  HANDLE file = nullptr;
  NTSTATUS status = CreateNew(folder, fresh, file);
  if (!NT_SUCCESS(status)) return FromNt(status);
  DWORD written = 0;
  HRESULT result = S_OK;
  if (!NT_SUCCESS(status = RenameInto(file, folder, name + L".tmp")))
    result = FromNt(status);
  else if (!WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr) ||
           written != bytes.size() || !FlushFileBuffers(file))
    result = HRESULT_FROM_WIN32(GetLastError());
  else if (!NT_SUCCESS(status = RenameInto(file, folder, name)))
    result = FromNt(status);
  if (FAILED(result)) {
    // The file is our own, held unshared since it was made: deleting it deletes nothing else.
    FILE_DISPOSITION_INFO dispose{TRUE};
    SetFileInformationByHandle(file, FileDispositionInfo, &dispose, sizeof dispose);
  }
  CloseHandle(file);
  return result;
}

}  // namespace

HRESULT SaveInSendTo(const std::wstring& path, const std::vector<BYTE>& bytes) {
  const size_t cut = path.find_last_of(L"\\/");
  if (cut == std::wstring::npos) return HRESULT_FROM_WIN32(ERROR_INVALID_NAME);
  const std::wstring name = path.substr(cut + 1);
  // One name in the folder: no stream, no step up, nothing empty.
  if (name.empty() || name == L"." || name == L".." || name.find(L':') != std::wstring::npos)
    return HRESULT_FROM_WIN32(ERROR_INVALID_NAME);
  HANDLE folder = OpenSendTo(path.substr(0, cut));
  if (!folder) return E_ACCESSDENIED;
  HRESULT result = WriteAndRename(folder, name, bytes);
  CloseHandle(folder);
  return result;
}
