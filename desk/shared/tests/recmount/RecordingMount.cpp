// A stand-in SorvMount.dll for tests: appends each command line to "mount-commands.txt"
// beside itself and returns the number in the environment variable SORV_MOUNT_RESULT (0),
// leaving the error number in SORV_MOUNT_ERROR (0) as its last error.
// With SORV_MOUNT_DEFINE naming a device, "/mount" defines its drive (the fourth word) onto
// that device and "/umount" and "/kill" remove it again, as a mount that took place would.
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

void ActOnDrive(const char* commandLine) {
  char device[MAX_PATH];
  if (GetEnvironmentVariableA("SORV_MOUNT_DEFINE", device, sizeof device) == 0) return;
  std::istringstream in(commandLine);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  if (words.size() == 5 && words[0] == "/mount")
    DefineDosDeviceA(DDD_RAW_TARGET_PATH, words[3].c_str(), device);
  else if (words.size() == 2 && (words[0] == "/umount" || words[0] == "/kill"))
    DefineDosDeviceA(DDD_REMOVE_DEFINITION, words[1].c_str(), nullptr);
}

}  // namespace

extern "C" int32_t __stdcall SorvMount(const char* commandLine) {
  HMODULE self = nullptr;
  GetModuleHandleExA(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCSTR>(&SorvMount), &self);
  char path[MAX_PATH], result[32];
  std::string log(path, GetModuleFileNameA(self, path, MAX_PATH));
  log.replace(log.find_last_of('\\') + 1, std::string::npos, "mount-commands.txt");
  std::ofstream(log, std::ios::app | std::ios::binary) << commandLine << "\n";
  ActOnDrive(commandLine);
  // The environment as SetEnvironmentVariable leaves it, not the C runtime's copy.
  char error[32];
  const DWORD lastError = GetEnvironmentVariableA("SORV_MOUNT_ERROR", error, sizeof error)
                              ? std::strtoul(error, nullptr, 10)
                              : 0;
  const int32_t answer = GetEnvironmentVariableA("SORV_MOUNT_RESULT", result, sizeof result)
                             ? int32_t(std::strtol(result, nullptr, 10))
                             : 0;
  SetLastError(lastError);
  return answer;
}
