// Test builds only: the format and label calls appended, in UTF-8, to the file that the
// environment variable SORV_FORMAT_LOG names. Linked in, it sets itself up before main.
#include <windows.h>

#include <fstream>
#include <string>

#include "NewDrive.h"

namespace {

void AppendToLog(const std::wstring& line) {
  wchar_t file[MAX_PATH];
  DWORD n = GetEnvironmentVariableW(L"SORV_FORMAT_LOG", file, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return;
  std::string utf8(WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, nullptr, 0, nullptr, nullptr),
                   '\0');
  WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, utf8.data(), int(utf8.size()), nullptr,
                      nullptr);
  std::ofstream(file, std::ios::app | std::ios::binary) << utf8.c_str() << "\n";
}

const bool installed = (wizard::SetFormatRecorder(&AppendToLog), true);

}  // namespace
