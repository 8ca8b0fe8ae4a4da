#pragma once
// A fresh folder under %TEMP% for one test, removed with its files afterwards.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

class TempDir {
 public:
  // The folder's name starts with the test program's: two programs sharing a fixture (the
  // in-process and the end-to-end tests) never meet in one folder, nor does one program's
  // folder wait on files that a process or the driver still holds for the other.
  explicit TempDir(const std::wstring& name)
      : path_((std::filesystem::temp_directory_path() / (ProgramName() + L" " + name)).wstring()) {
    Remove();
    std::filesystem::create_directory(path_);
  }
  ~TempDir() { Remove(); }
  const std::wstring& path() const { return path_; }
  std::wstring operator/(const std::wstring& file) const { return path_ + L"\\" + file; }

 private:
  static std::wstring ProgramName() {
    wchar_t self[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
    return std::filesystem::path(std::wstring(self, n)).stem().wstring();
  }
  void Remove() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  std::wstring path_;
};

// A new file of `bytes` zero bytes.
inline void MakeFile(const std::wstring& path, long long bytes) {
  std::ofstream(std::filesystem::path(path)).close();
  std::filesystem::resize_file(path, bytes);
}

inline std::string ReadBytes(const std::wstring& path) {
  std::ifstream f(std::filesystem::path(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(f), {}};
}

inline void WriteBytes(const std::wstring& path, const std::string& bytes) {
  std::ofstream(std::filesystem::path(path), std::ios::binary) << bytes;
}

// Lines of a text file, the file removed afterwards.
inline std::vector<std::string> TakeLines(const std::wstring& path) {
  std::vector<std::string> lines;
  {
    std::ifstream in(std::filesystem::path{path});
    for (std::string line; std::getline(in, line);) lines.push_back(line);
  }
  DeleteFileW(path.c_str());
  return lines;
}

// A file taken away for one test and put back as it was afterwards.
struct KeptFile {
  std::wstring path;
  bool existed = GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
  std::string bytes = existed ? ReadBytes(path) : "";
  explicit KeptFile(std::wstring p) : path(std::move(p)) { DeleteFileW(path.c_str()); }
  ~KeptFile() { existed ? WriteBytes(path, bytes) : void(DeleteFileW(path.c_str())); }
};
