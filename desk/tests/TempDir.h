#pragma once
// A fresh folder under %TEMP% for one test, removed with its files afterwards.
#include <windows.h>

#include <string>

class TempDir {
public:
  explicit TempDir(const std::wstring& name) {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    path_ = std::wstring(base) + name;
    Remove();
    CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~TempDir() { Remove(); }
  const std::wstring& path() const { return path_; }
  std::wstring operator/(const std::wstring& file) const { return path_ + L"\\" + file; }

private:
  void Remove() {
    std::wstring from = path_ + L'\0';
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    SHFileOperationW(&op);
  }
  std::wstring path_;
};

// Writes `bytes` bytes (sparse-free, plain zeros) to a new file.
inline void MakeFile(const std::wstring& path, long long bytes) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  LARGE_INTEGER at;
  at.QuadPart = bytes;
  SetFilePointerEx(h, at, nullptr, FILE_BEGIN);
  SetEndOfFile(h);
  CloseHandle(h);
}
