// The wipe control as the wipe shell uses it: two blocking calls and a progress event.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace shredder {

// Why a path was left when nothing more is known of it.
inline constexpr wchar_t kMayBeInUse[] = L"它可能正被其他程序使用，或您没有删除它的权限。";
// A path that names nothing, exactly as given.
inline constexpr wchar_t kNotFound[] = L"找不到它（名称须与磁盘上的完全一致），未删除任何内容。";

class ShredControl {
 public:
  virtual ~ShredControl() = default;
  // Wipes the folder with every file and sub-folder in it; returns when done.
  virtual void ShredFolder(const std::wstring& path) = 0;
  // Wipes the file; returns when done.
  virtual void ShredFile(const std::wstring& path) = 0;

  // Raised while a wipe runs, on the thread that called it: a text for people and the
  // share done, 0 to 100. The last one of every wipe is 100.
  std::function<void(const std::wstring& text, long percent)> ShredProgress;

  // What the last call left where it was, each with the reason in words for the user. A
  // folder left only because of what it still holds is not listed itself.
  struct Left {
    std::wstring path, why;
  };
  std::vector<Left> NotWiped;

  // The file ID of the entry the user confirmed, when the caller knows it (0: not known). A
  // path that names another entry by the time the wipe opens it is left and reported.
  uint64_t ConfirmedId = 0;

 protected:
  void RaiseProgress(const std::wstring& text, long percent) {
    if (ShredProgress) ShredProgress(text, percent);
  }
};

}  // namespace shredder
