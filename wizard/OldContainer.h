#pragma once
// The container the user agreed to overwrite: known by its file, not its path, from the
// password check at step 1 until the new one, made whole beside it, takes its place at step 3.
#include <windows.h>

#include <string>

#include "FileIdentity.h"

namespace wizard {

inline constexpr wchar_t kCannotOverwrite[] =
    L"不能删除原来的加密盘文件，文件可能正在使用，请确认后再试一遍。";

// Holds the file at path open, so that it is neither renamed nor replaced while it is checked.
class HeldFile {
 public:
  explicit HeldFile(const std::wstring& path);
  ~HeldFile();
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;
  FileIdentity Identity() const { return IdentityOf(handle_); }

 private:
  HANDLE handle_;
};

// The new container is made under the first name beside the old one. Neither Windows nor Wine
// renames over a file that is open, so the old one steps aside under the second name (through
// the handle that compared it) while the new one takes its place.
inline constexpr wchar_t kMakingSuffix[] = L".new";
inline constexpr wchar_t kAsideSuffix[] = L".old";

enum class Replacement { Done, Other, Failed };

// Puts the whole new container at `made` in the place of the file at path when that is still
// the file checked (or when no file is there any more). Other: another file is there; Failed:
// it could not be done; in both the file at path is left as it was and `made` is deleted.
Replacement ReplaceIfSame(const std::wstring& path, const std::wstring& made,
                          const FileIdentity& checked);

// Deletes the file at path by handle, a link itself and never its target; true when no file
// is left there.
bool RemoveFile(const std::wstring& path);

// Settles what a replacement cut short left beside the container at path: the new file goes;
// the old one comes back to a free place, and goes when a file already holds it.
void SettleLeftovers(const std::wstring& path);

}  // namespace wizard
