// Files and folders reached through the handle of the folder that holds them, never again by
// a path that someone could change between the look and the act.
#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace shredder {

// One entry of a folder as its listing gave it.
struct Entry {
  std::wstring name;
  uint64_t id = 0;  // the file ID: the same entry, whatever name it has now
  DWORD attributes = 0;
  DWORD tag = 0;  // the reparse tag, with FILE_ATTRIBUTE_REPARSE_POINT
  uint64_t size = 0;
};

// `name` inside the folder open as `folder` (the same file again when `name` is empty; a
// named stream of the file open as `folder`). `options` adds FILE_DIRECTORY_FILE,
// FILE_NON_DIRECTORY_FILE or FILE_OPEN_REPARSE_POINT. INVALID_HANDLE_VALUE with the last
// error set on failure.
HANDLE OpenIn(HANDLE folder, const std::wstring& name, ACCESS_MASK access, ULONG share,
              ULONG options);

// Every entry of the folder, through its own handle ("." and ".." left out). False when the
// listing broke off.
bool List(HANDLE folder, std::vector<Entry>& entries);

// The file ID and attributes of what `file` has open.
bool Identify(HANDLE file, uint64_t& id, DWORD& attributes);

// The folder that holds the long-form `path`, open for listing, and the entry named exactly
// as the path's last part (no trailing dot or blank dropped). A drive's or share's root has
// no folder (null) and its NT path as the name. Nothing when either is missing.
struct Located {
  HANDLE folder = INVALID_HANDLE_VALUE;
  Entry entry;
};
std::optional<Located> Locate(const std::wstring& path);

}  // namespace shredder
