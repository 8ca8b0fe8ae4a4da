#include "SorvShredX.h"

#include <windows.h>

#include <algorithm>

namespace shredder {
namespace {

const wchar_t kWiping[] = L"正在彻底删除 ";
const wchar_t kDone[] = L"彻底删除结束";
const wchar_t kSeveralNames[] =
    L"它还有其他文件名（硬链接），擦除会毁掉其他文件名下的同一内容，已原样保留。";
const wchar_t kLinkLeft[] =
    L"它是指向别处的链接，只能删除链接本身，而链接本身未能删除；它指向的内容未被触及。";

std::wstring Child(const std::wstring& folder, const wchar_t* name) {
  if (!folder.empty() && folder.back() == L'\\') return folder + name;
  return folder + L'\\' + name;
}

// A folder that is a reparse point is never entered, whatever its tag: Wine shows host links
// with none. Of files, symbolic links name something elsewhere; other reparse points
// (deduplicated or cloud files) hold their own data and are wiped like any other.
bool IsLink(DWORD attributes, DWORD tag) {
  return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
         ((attributes & FILE_ATTRIBUTE_DIRECTORY) || IsReparseTagNameSurrogate(tag));
}

bool PathIsLink(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
    return false;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return true;
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW(path.c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return false;
  FindClose(find);
  return IsLink(found.dwFileAttributes, found.dwReserved0);
}

// Removes an emptied folder; read-only cleared first.
bool RemoveFolder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  const bool readOnly =
      attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
  if (readOnly) SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  const bool removed = RemoveDirectoryW(path.c_str());
  if (!removed && readOnly) SetFileAttributesW(path.c_str(), attributes);
  return removed;
}

}  // namespace

void SorvShredX::ShredFolder(const std::wstring& path) {
  const std::wstring folder = LongForm(path);
  std::vector<Item> items;
  const bool link = PathIsLink(folder);
  if (!link) Collect(folder, items);
  items.push_back({folder, link ? Item::Link : Item::Folder, 0});
  Run(items);
}

void SorvShredX::ShredFile(const std::wstring& path) {
  const std::wstring file = LongForm(path);
  WIN32_FILE_ATTRIBUTE_DATA data{};
  GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data);
  const uint64_t size = (uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  Run({{file, PathIsLink(file) ? Item::Link : Item::File, size}});
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
    if (IsLink(found.dwFileAttributes, found.dwReserved0)) {
      items.push_back({path, Item::Link, 0});
    } else if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      Collect(path, items);
      items.push_back({path, Item::Folder, 0});
    } else {
      items.push_back(
          {path, Item::File, (uint64_t(found.nFileSizeHigh) << 32) | found.nFileSizeLow});
    }
  } while (FindNextFileW(find, &found));
  FindClose(find);
}

void SorvShredX::Leave(const Item& item, const wchar_t* why) {
  NotWiped.push_back({ShortForm(item.path), why});
}

// Progress counts both passes over every byte, and one step for every entry removed.
void SorvShredX::Run(const std::vector<Item>& items) {
  NotWiped.clear();
  uint64_t total = 0, done = 0;
  for (const Item& item : items) total += 2 * item.size + 1;
  RandomBytes random;
  for (const Item& item : items) {
    const std::wstring text = kWiping + ShortForm(item.path);
    const uint64_t units = 2 * item.size + 1;
    uint64_t written = 0;
    // A file grown since it was counted holds the share where its part ends.
    auto report = [&] {
      const uint64_t part = written < units ? written : units - 1;
      RaiseProgress(text, static_cast<long>((done + part) * 100 / total));
    };
    report();
    switch (item.kind) {
      case Item::File: {
        const WipeResult result = WipeFile(
            item.path, random,
            [&](uint64_t bytes) {
              written += bytes;
              report();
            },
            *streams_);
        if (result == WipeResult::SeveralNames) Leave(item, kSeveralNames);
        if (result == WipeResult::NotOpened) Leave(item, kMayBeInUse);
        break;
      }
      case Item::Folder: {
        std::wstring inside = ShortForm(item.path);
        if (inside.back() != L'\\') inside += L'\\';
        if (!RemoveFolder(item.path) &&
            std::none_of(NotWiped.begin(), NotWiped.end(),
                         [&](const Left& left) { return left.path.rfind(inside, 0) == 0; }))
          Leave(item, kMayBeInUse);
        break;
      }
      case Item::Link:
        if (!RemoveLink(item.path)) Leave(item, kLinkLeft);
        break;
    }
    done += units;
  }
  RaiseProgress(kDone, 100);
}

}  // namespace shredder
