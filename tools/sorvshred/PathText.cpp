#include "PathText.h"

namespace shred {

std::wstring Trimmed(const std::wstring& text) {
  const size_t first = text.find_first_not_of(L" \t");
  if (first == std::wstring::npos) return L"";
  return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

std::wstring PathFromCommandLine(const std::wstring& arguments) {
  std::wstring path = Trimmed(arguments);
  if (path.size() >= 2 && path.front() == L'"' && path.back() == L'"')
    path = path.substr(1, path.size() - 2);
  return path;
}

}  // namespace shred
