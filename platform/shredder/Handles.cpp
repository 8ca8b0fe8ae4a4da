#include "Handles.h"

#include <winternl.h>

#include <algorithm>

namespace shredder {

HANDLE OpenIn(HANDLE folder, const std::wstring& name, ACCESS_MASK access, ULONG share,
              ULONG options) {
  UNICODE_STRING text;
  text.Buffer = const_cast<PWSTR>(name.c_str());
  text.Length = text.MaximumLength = static_cast<USHORT>(name.size() * sizeof(wchar_t));
  OBJECT_ATTRIBUTES object;
  InitializeObjectAttributes(&object, &text, OBJ_CASE_INSENSITIVE, folder, nullptr);
  IO_STATUS_BLOCK io{};
  HANDLE opened = nullptr;
  const NTSTATUS status = NtCreateFile(
      &opened, access | SYNCHRONIZE, &object, &io, nullptr, 0, share, FILE_OPEN,
      options | FILE_OPEN_FOR_BACKUP_INTENT | FILE_SYNCHRONOUS_IO_NONALERT,
      nullptr, 0);
  if (NT_SUCCESS(status)) return opened;
  SetLastError(RtlNtStatusToDosError(status));
  return INVALID_HANDLE_VALUE;
}

bool List(HANDLE folder, std::vector<Entry>& entries) {
  alignas(8) char buffer[64 * 1024];
  for (auto kind = FileIdBothDirectoryRestartInfo;; kind = FileIdBothDirectoryInfo) {
    if (!GetFileInformationByHandleEx(folder, kind, buffer, sizeof buffer))
      return GetLastError() == ERROR_NO_MORE_FILES;
    for (char* at = buffer;;) {
      const auto* info = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(at);
      std::wstring name(info->FileName, info->FileNameLength / sizeof(wchar_t));
      if (name != L"." && name != L"..")
        entries.push_back({std::move(name), static_cast<uint64_t>(info->FileId.QuadPart),
                           info->FileAttributes, info->EaSize,
                           static_cast<uint64_t>(info->EndOfFile.QuadPart)});
      if (!info->NextEntryOffset) break;
      at += info->NextEntryOffset;
    }
  }
}

bool Identify(HANDLE file, uint64_t& id, DWORD& attributes) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(file, &info)) return false;
  id = (uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  attributes = info.dwFileAttributes;
  return true;
}

std::optional<Located> Locate(const std::wstring& path) {
  const size_t slash = path.find_last_of(L'\\');
  if (slash == std::wstring::npos) return std::nullopt;
  Located found;
  if (slash + 1 == path.size()) {  // a root: \\?\C:\ is \??\C:\ to the system
    found.folder = nullptr;
    found.entry.name = L"\\??\\" + path.substr(4);
    HANDLE root = OpenIn(nullptr, found.entry.name, FILE_READ_ATTRIBUTES,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         FILE_DIRECTORY_FILE);
    if (root == INVALID_HANDLE_VALUE) return std::nullopt;
    const bool known = Identify(root, found.entry.id, found.entry.attributes);
    CloseHandle(root);
    if (!known) return std::nullopt;
    return found;
  }
  const std::wstring name = path.substr(slash + 1);
  found.folder = CreateFileW(path.substr(0, slash + 1).c_str(),
                             FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (found.folder == INVALID_HANDLE_VALUE) return std::nullopt;
  std::vector<Entry> entries;
  List(found.folder, entries);
  // The name as typed first; where the file system ignores case, the one that differs in case.
  auto it = std::find_if(entries.begin(), entries.end(),
                         [&](const Entry& e) { return e.name == name; });
  if (it == entries.end())
    it = std::find_if(entries.begin(), entries.end(), [&](const Entry& e) {
      return CompareStringOrdinal(e.name.c_str(), -1, name.c_str(), -1, TRUE) == CSTR_EQUAL;
    });
  if (it == entries.end()) {
    CloseHandle(found.folder);
    return std::nullopt;
  }
  found.entry = *it;
  return found;
}

}  // namespace shredder
