#include "MountWord.h"

#include <windows.h>

bool MountCommandCarries(const std::wstring& path) {
  if (path.empty()) return true;
  const int bytes = WideCharToMultiByte(CP_ACP, 0, path.data(), int(path.size()), nullptr, 0,
                                        nullptr, nullptr);
  return bytes > 0 && bytes + 2 <= kMountWordBytes;
}
