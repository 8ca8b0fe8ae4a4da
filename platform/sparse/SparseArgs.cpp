#include "SparseArgs.h"

namespace sparse {
namespace {

constexpr std::wstring_view kBlanks = L" \t";

std::wstring_view Trim(std::wstring_view s) {
  size_t a = s.find_first_not_of(kBlanks);
  if (a == std::wstring_view::npos) return {};
  size_t b = s.find_last_not_of(kBlanks);
  return s.substr(a, b - a + 1);
}

}  // namespace

std::wstring_view SkipProgramName(std::wstring_view line) {
  line = Trim(line);
  size_t end;
  if (!line.empty() && line[0] == L'"') {
    end = line.find(L'"', 1);
    end = end == std::wstring_view::npos ? line.size() : end + 1;
  } else {
    end = line.find_first_of(kBlanks);
    if (end == std::wstring_view::npos) end = line.size();
  }
  return Trim(line.substr(end));
}

std::optional<Args> ParseArgs(std::wstring_view line) {
  line = Trim(line);
  size_t cut = line.find_last_of(kBlanks);
  if (cut == std::wstring_view::npos) return std::nullopt;
  std::wstring_view size = line.substr(cut + 1), path = Trim(line.substr(0, cut));
  if (size.size() < 2 || size.back() != L'M') return std::nullopt;
  uint64_t mib = 0;
  for (wchar_t c : size.substr(0, size.size() - 1)) {
    if (c < L'0' || c > L'9' || mib >= (1ull << 43) / 10) return std::nullopt;
    mib = mib * 10 + (c - L'0');
  }
  if (mib == 0 || mib >= (1ull << 43)) return std::nullopt;
  if (path.size() >= 2 && path.front() == L'"' && path.back() == L'"')
    path = path.substr(1, path.size() - 2);
  if (path.empty() || path.find(L'"') != std::wstring_view::npos) return std::nullopt;
  return Args{std::wstring(path), mib << 20};
}

}  // namespace sparse
