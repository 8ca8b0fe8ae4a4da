#include "TipsFile.h"

#include <windows.h>

#include <vector>

#include "forms.h"

namespace {

std::vector<std::wstring> ReadLines(const std::wstring& tipsPath) {
  std::vector<std::wstring> lines;
  HANDLE h = CreateFileW(tipsPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return lines;
  std::string bytes;
  char chunk[4096];
  DWORD got = 0;
  while (ReadFile(h, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
  CloseHandle(h);

  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string::npos) end = bytes.size();
    lines.push_back(forms::FromAnsi(bytes.substr(start, end - start)));
    if (end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n') ++end;
    start = end + 1;
  }
  // Blank lines at the end are no tips: the dialog would show an empty one.
  while (!lines.empty() && lines.back().empty()) lines.pop_back();
  return lines;
}

}  // namespace

std::wstring GetTips(const std::wstring& tipsPath, int lineNo) {
  if (lineNo < 1) return {};
  std::vector<std::wstring> lines = ReadLines(tipsPath);
  return size_t(lineNo) <= lines.size() ? lines[size_t(lineNo) - 1] : std::wstring();
}

int AllLineNumber(const std::wstring& tipsPath) {
  size_t n = ReadLines(tipsPath).size();
  return n > 32767 ? 32767 : int(n);
}
