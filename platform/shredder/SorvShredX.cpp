#include "SorvShredX.h"

#include <windows.h>

namespace shredder {
namespace {

const wchar_t kWiping[] = L"正在彻底删除 ";
const wchar_t kDone[] = L"彻底删除结束";

std::wstring Child(const std::wstring& folder, const wchar_t* name) {
  if (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) return folder + name;
  return folder + L'\\' + name;
}

// Symbolic links, junctions and mount points name something elsewhere; other reparse points
// (deduplicated or cloud files) hold their own data and are wiped like any other.
bool IsLink(const WIN32_FIND_DATAW& found) {
  return (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
         IsReparseTagNameSurrogate(found.dwReserved0);
}

bool PathIsLink(std::wstring path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
    return false;
  while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW(path.c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return false;
  FindClose(find);
  return IsLink(found);
}

// Removes a folder or a link once it is empty or is a link; read-only cleared first.
void RemoveEntry(const std::wstring& path, bool folder) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  if (!(folder ? RemoveDirectoryW(path.c_str()) : DeleteFileW(path.c_str())) &&
      attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    SetFileAttributesW(path.c_str(), attributes);
}

}  // namespace

void SorvShredX::ShredFolder(const std::wstring& path) {
  std::vector<Item> items;
  const bool link = PathIsLink(path);
  if (!link) Collect(path, items);
  items.push_back({path, link ? Item::FolderLink : Item::Folder, 0});
  Run(items);
}

void SorvShredX::ShredFile(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
  const uint64_t size = (uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  Run({{path, PathIsLink(path) ? Item::FileLink : Item::File, size}});
}

// Every entry under `folder`, each folder after what it holds.
void SorvShredX::Collect(const std::wstring& folder, std::vector<Item>& items) {
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileExW(Child(folder, L"*").c_str(), FindExInfoBasic, &found,
                                 FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    const std::wstring path = Child(folder, found.cFileName);
    const bool isFolder = found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
    if (IsLink(found)) {
      items.push_back({path, isFolder ? Item::FolderLink : Item::FileLink, 0});
    } else if (isFolder) {
      Collect(path, items);
      items.push_back({path, Item::Folder, 0});
    } else {
      items.push_back(
          {path, Item::File, (uint64_t(found.nFileSizeHigh) << 32) | found.nFileSizeLow});
    }
  } while (FindNextFileW(find, &found));
  FindClose(find);
}

// Progress counts both passes over every byte, and one step for every entry removed.
void SorvShredX::Run(const std::vector<Item>& items) {
  uint64_t total = 0, done = 0;
  for (const Item& item : items) total += 2 * item.size + 1;
  RandomBytes random;
  for (const Item& item : items) {
    const std::wstring text = kWiping + item.path;
    const uint64_t units = 2 * item.size + 1;
    uint64_t written = 0;
    // A file grown since it was counted holds the share where its part ends.
    auto report = [&] {
      const uint64_t part = written < units ? written : units - 1;
      RaiseProgress(text, static_cast<long>((done + part) * 100 / total));
    };
    report();
    switch (item.kind) {
      case Item::File:
        WipeFile(item.path, random, [&](uint64_t bytes) {
          written += bytes;
          report();
        });
        break;
      case Item::Folder:
      case Item::FolderLink:
        RemoveEntry(item.path, true);
        break;
      case Item::FileLink:
        RemoveEntry(item.path, false);
        break;
    }
    done += units;
  }
  RaiseProgress(kDone, 100);
}

}  // namespace shredder
