// A stand-in SorvMount.dll for tests: appends each command line to "mount-commands.txt"
// beside itself and returns the number in the environment variable SORV_MOUNT_RESULT (0).
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

extern "C" int32_t __stdcall SorvMount(const char* commandLine) {
  HMODULE self = nullptr;
  GetModuleHandleExA(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCSTR>(&SorvMount), &self);
  char path[MAX_PATH], result[32];
  std::string log(path, GetModuleFileNameA(self, path, MAX_PATH));
  log.replace(log.find_last_of('\\') + 1, std::string::npos, "mount-commands.txt");
  std::ofstream(log, std::ios::app | std::ios::binary) << commandLine << "\n";
  // The environment as SetEnvironmentVariable leaves it, not the C runtime's copy.
  if (GetEnvironmentVariableA("SORV_MOUNT_RESULT", result, sizeof result) == 0) return 0;
  return int32_t(std::strtol(result, nullptr, 10));
}
