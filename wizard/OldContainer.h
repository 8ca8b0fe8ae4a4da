#pragma once
// The container the user agreed to overwrite: known by its file, not its path, from the
// password check at step 1 to its deletion at step 3.
#include <windows.h>

#include <string>

namespace wizard {

inline constexpr wchar_t kCannotOverwrite[] =
    L"不能删除原来的加密盘文件，文件可能正在使用，请确认后再试一遍。";

struct FileIdentity {
  DWORD volume = 0;
  ULONGLONG index = 0;
  bool known = false;
};

// The identity of the file open as `file`; not known when it cannot be read.
FileIdentity IdentityOf(HANDLE file);

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

enum class Removal { Deleted, Gone, Replaced, Failed };

// Deletes the file at path when it is still the one checked, through the handle that compared
// it. Gone: no file is there any more. Replaced: another file is there; it is left alone.
Removal DeleteIfSame(const std::wstring& path, const FileIdentity& checked);

}  // namespace wizard
