#include "SorvShredX.h"

#include <winternl.h>

#include <algorithm>
#include <optional>

namespace shredder {
namespace {

const wchar_t kWiping[] = L"正在彻底删除 ";
const wchar_t kDone[] = L"彻底删除结束";
const wchar_t kSeveralNames[] =
    L"它还有其他文件名（硬链接），擦除会毁掉其他文件名下的同一内容，已原样保留。";
const wchar_t kLinkLeft[] =
    L"它是指向别处的链接，只能删除链接本身，而链接本身未能删除；它指向的内容未被触及。";
const wchar_t kChanged[] =
    L"列出之后它被改名、替换或换成了链接，已原样保留，其中的内容未被触及。";
const wchar_t kNoSpace[] = L"磁盘空间不足，无法覆写它的全部内容；文件未删除。";

constexpr ULONG kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr DWORD kLinkOrFolder = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;

std::wstring Child(const std::wstring& folder, const std::wstring& name) {
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

// The opened entry is the one the listing showed: the same file ID, still a folder or a file.
// Under Wine, where opening a host link opens its target, the ID is what tells them apart.
bool Same(HANDLE opened, const Entry& listed) {
  uint64_t id = 0;
  DWORD attributes = 0;
  return Identify(opened, id, attributes) && id == listed.id &&
         (attributes & FILE_ATTRIBUTE_DIRECTORY) == (listed.attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool SetAttributes(HANDLE file, FILE_BASIC_INFO basic, DWORD attributes) {
  basic.FileAttributes = attributes;
  return SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof basic);
}

// Deletes through the handle with the read-only attribute cleared, restored when it fails.
bool Delete(HANDLE file) {
  FILE_BASIC_INFO basic{};
  if (!GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof basic)) return false;
  const DWORD attributes = basic.FileAttributes;
  const bool readOnly = attributes & FILE_ATTRIBUTE_READONLY;
  if (readOnly) SetAttributes(file, basic, attributes & ~FILE_ATTRIBUTE_READONLY);
  const bool deleted = DeleteByHandle(file);
  if (!deleted && readOnly) SetAttributes(file, basic, attributes);
  return deleted;
}

// Why an overwrite stopped, in the words of the failure.
std::wstring WhyNotOverwritten(DWORD error) {
  if (error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL) return kNoSpace;
  wchar_t* text = nullptr;
  std::wstring words;
  if (FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                         FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr)) {
    words = text;
    LocalFree(text);
  }
  while (!words.empty() && (words.back() == L'\n' || words.back() == L'\r' ||
                            words.back() == L'.' || words.back() == L'。'))
    words.pop_back();
  if (words.empty()) words = L"错误 " + std::to_wstring(error);
  return L"覆写未能完成（" + words + L"）；文件未删除，其内容可能已部分被覆写。";
}

}  // namespace

SorvShredX::Node::Kind SorvShredX::KindOf(const Entry& entry) {
  if (IsLink(entry.attributes, entry.tag)) return Node::Link;
  return entry.attributes & FILE_ATTRIBUTE_DIRECTORY ? Node::Folder : Node::File;
}

void SorvShredX::ShredFolder(const std::wstring& path) { Start(path, true); }
void SorvShredX::ShredFile(const std::wstring& path) { Start(path, false); }

void SorvShredX::Start(const std::wstring& given, bool folder) {
  NotWiped.clear();
  total_ = done_ = 0;
  const std::wstring path = LongForm(given), shown = ShortForm(path);
  std::optional<Located> at = Locate(path);
  if (!at) {
    Leave(shown, kNotFound);
  } else {
    const Entry& entry = at->entry;
    Node top{entry, KindOf(entry), false, {}};
    if (ConfirmedId && entry.id != ConfirmedId) {
      Leave(shown, kChanged);
    } else if (folder != (top.kind == Node::Folder) && top.kind != Node::Link) {
      Leave(shown, kMayBeInUse);  // a folder given as a file or the other way round
    } else {
      if (top.kind == Node::Folder) Collect(at->folder, top);
      total_ = Units(top);
      Wipe(at->folder, top, shown);
    }
    if (at->folder) CloseHandle(at->folder);
  }
  RaiseProgress(kDone, 100);
}

// What the folder `node` holds, listed through its own handle (opened in `folder`) when it
// is still the entry the listing of `folder` showed; each sub-folder in turn.
void SorvShredX::Collect(HANDLE folder, Node& node) {
  HANDLE opened = OpenIn(folder, node.entry.name, FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                         kShareAll, FILE_DIRECTORY_FILE | FILE_OPEN_REPARSE_POINT);
  node.changed = opened == INVALID_HANDLE_VALUE || !Same(opened, node.entry);
  if (node.changed) {
    if (opened != INVALID_HANDLE_VALUE) CloseHandle(opened);
    return;
  }
  std::vector<Entry> entries;
  List(opened, entries);
  for (Entry& entry : entries) {
    const Node::Kind kind = KindOf(entry);
    node.inside.push_back({std::move(entry), kind, false, {}});
    if (kind == Node::Folder) Collect(opened, node.inside.back());
  }
  CloseHandle(opened);
}

// Progress counts both passes over every byte, and one step for every entry removed.
uint64_t SorvShredX::Units(const Node& node) {
  uint64_t units = node.kind == Node::File ? 2 * node.entry.size + 1 : 1;
  for (const Node& child : node.inside) units += Units(child);
  return units;
}

void SorvShredX::Report(const std::wstring& path, uint64_t part) {
  RaiseProgress(kWiping + path, static_cast<long>((done_ + part) * 100 / total_));
}

void SorvShredX::Wipe(HANDLE folder, const Node& node, const std::wstring& path) {
  switch (node.kind) {
    case Node::File:
      WipeOne(folder, node, path);
      break;
    case Node::Folder:
      RemoveFolder(folder, node, path);
      break;
    case Node::Link:
      RemoveLink(folder, node, path);
      break;
  }
}

void SorvShredX::WipeOne(HANDLE folder, const Node& node, const std::wstring& path) {
  const uint64_t units = Units(node);
  uint64_t written = 0;
  Report(path, 0);
  // Opened first to look and to clear the read-only attribute, then once more through that
  // handle for the wipe, so the second open cannot reach another file.
  HANDLE look = OpenIn(folder, node.entry.name, FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                       kShareAll, FILE_NON_DIRECTORY_FILE | FILE_OPEN_REPARSE_POINT);
  if (look == INVALID_HANDLE_VALUE) {
    Leave(path, kMayBeInUse);
  } else if (!Same(look, node.entry)) {
    Leave(path, kChanged);
  } else {
    FILE_BASIC_INFO basic{};
    GetFileInformationByHandleEx(look, FileBasicInfo, &basic, sizeof basic);
    const DWORD attributes = basic.FileAttributes;
    if (attributes & FILE_ATTRIBUTE_READONLY)
      SetAttributes(look, basic, attributes & ~FILE_ATTRIBUTE_READONLY);
    // A deduplicated or cloud file's data is reached through its own driver.
    const ULONG own = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) ? 0 : FILE_OPEN_REPARSE_POINT;
    HANDLE file = OpenIn(look, L"", kWipeAccess, kWipeShare, FILE_NON_DIRECTORY_FILE | own);
    WipeOutcome outcome{WipeResult::NotOpened};
    if (file != INVALID_HANDLE_VALUE) {
      outcome = WipeFile(file, folder, path, random_, [&](uint64_t bytes) {
        written += bytes;
        Report(path, std::min(written, units - 1));  // a file grown since it was counted
      }, *layout_);
      CloseHandle(file);
    }
    if (outcome.result != WipeResult::Wiped && (attributes & FILE_ATTRIBUTE_READONLY))
      SetAttributes(look, basic, attributes);
    if (outcome.result == WipeResult::SeveralNames) Leave(path, kSeveralNames);
    if (outcome.result == WipeResult::NotOpened) Leave(path, kMayBeInUse);
    if (outcome.result == WipeResult::NotOverwritten) Leave(path, WhyNotOverwritten(outcome.error));
  }
  if (look != INVALID_HANDLE_VALUE) CloseHandle(look);
  done_ += units;
}

// The folder is entered only when it is still the one listed; what it holds goes first.
void SorvShredX::RemoveFolder(HANDLE folder, const Node& node, const std::wstring& path) {
  Report(path, 0);  // for the folder chosen: after the listing, before any wipe
  bool entered = false;
  HANDLE opened =
      node.changed ? INVALID_HANDLE_VALUE
                   : OpenIn(folder, node.entry.name,
                            FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES | DELETE,
                            kShareAll, FILE_DIRECTORY_FILE | FILE_OPEN_REPARSE_POINT);
  if (opened == INVALID_HANDLE_VALUE && !node.changed) {
    Leave(path, kMayBeInUse);
  } else if (node.changed || !Same(opened, node.entry)) {
    Leave(path, kChanged);
  } else {
    entered = true;
    const size_t left = NotWiped.size();
    for (const Node& child : node.inside) Wipe(opened, child, Child(path, child.entry.name));
    // A folder left only because of what it still holds is not listed itself.
    if (!Delete(opened) && NotWiped.size() == left) Leave(path, kMayBeInUse);
  }
  if (opened != INVALID_HANDLE_VALUE) CloseHandle(opened);
  done_ += entered ? 1 : Units(node);  // what was never entered counts as done at once
}

// Only the link's own name goes: it must open as the reparse point the listing showed (Wine
// opens the target instead, and is refused).
void SorvShredX::RemoveLink(HANDLE folder, const Node& node, const std::wstring& path) {
  Report(path, 0);
  HANDLE link = OpenIn(folder, node.entry.name,
                       DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, kShareAll,
                       FILE_OPEN_REPARSE_POINT);
  uint64_t id = 0;
  DWORD attributes = 0;
  const bool removed = link != INVALID_HANDLE_VALUE && Identify(link, id, attributes) &&
                       id == node.entry.id && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
                       Delete(link);
  if (link != INVALID_HANDLE_VALUE) CloseHandle(link);
  if (!removed) Leave(path, kLinkLeft);
  done_ += 1;
}

void SorvShredX::Leave(const std::wstring& path, const std::wstring& why) {
  NotWiped.push_back({path, why});
}

}  // namespace shredder
