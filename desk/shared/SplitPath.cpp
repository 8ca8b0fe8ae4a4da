#include "SplitPath.h"

void SplitPath(const std::wstring& fullPath, std::wstring& drive, std::wstring& dir,
               std::wstring& fileName, std::wstring& baseName, std::wstring& ext) {
  std::wstring s = fullPath;
  drive.clear();
  if (s.size() >= 2 && s[1] == L':') {
    drive = s.substr(0, 2);
    s.erase(0, 2);
  } else if (s.compare(0, 2, L"\\\\") == 0) {
    size_t p = s.find(L'\\', 2);  // end of the server name
    if (p == std::wstring::npos) p = s.size();
    drive = s.substr(0, p);
    s.erase(0, p);
  }
  size_t slash = s.find_last_of(L'\\');
  dir = slash == std::wstring::npos ? L"" : s.substr(0, slash + 1);
  fileName = s.substr(dir.size());
  size_t dot = fileName.find_last_of(L'.');
  baseName = fileName.substr(0, dot);
  ext = dot == std::wstring::npos ? L"" : fileName.substr(dot + 1);
}
