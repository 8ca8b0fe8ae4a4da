#include "PathText.h"

#include <windows.h>

#include <vector>

namespace shred {

std::wstring Trimmed(const std::wstring& text) {
  const size_t first = text.find_first_not_of(L" \t");
  if (first == std::wstring::npos) return L"";
  return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

std::wstring PathFromCommandLine(const std::wstring& arguments) {
  std::wstring path = Trimmed(arguments);
  if (path.size() >= 2 && path.front() == L'"' && path.back() == L'"')
    path = Trimmed(path.substr(1, path.size() - 2));
  return path;
}

std::wstring FullPath(const std::wstring& path) {
  if (path.empty()) return path;
  std::vector<wchar_t> full(MAX_PATH);
  for (;;) {
    const DWORD n =
        GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (n == 0) return L"";
    if (n < full.size()) return std::wstring(full.data(), n);
    full.resize(n);
  }
}

}  // namespace shred
