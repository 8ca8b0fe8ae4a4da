// The wipe control as the wipe shell uses it: two blocking calls and a progress event.
#pragma once
#include <functional>
#include <string>

namespace shredder {

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

 protected:
  void RaiseProgress(const std::wstring& text, long percent) {
    if (ShredProgress) ShredProgress(text, percent);
  }
};

}  // namespace shredder
