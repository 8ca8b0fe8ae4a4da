// A stand-in SorvMount.dll for tests: appends each command line to "mount-commands.txt"
// beside itself and returns the number in the environment variable SORV_MOUNT_RESULT (0).
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

extern "C" int32_t __stdcall SorvMount(const char* commandLine) {
  HMODULE self = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                         GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&SorvMount), &self);
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(self, path, MAX_PATH);
  std::string log(path, n);
  log = log.substr(0, log.find_last_of('\\')) + "\\mount-commands.txt";
  HANDLE h = CreateFileA(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0,
                         nullptr);
  std::string line = std::string(commandLine) + "\n";
  DWORD written = 0;
  WriteFile(h, line.data(), DWORD(line.size()), &written, nullptr);
  CloseHandle(h);
  char result[32];
  if (GetEnvironmentVariableA("SORV_MOUNT_RESULT", result, sizeof result) == 0) return 0;
  return int32_t(std::strtol(result, nullptr, 10));
}
