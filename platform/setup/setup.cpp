// SorvSetup.exe: the installation program's stand-in. Copies the system's files from its own
// folder into the program folder and installs the driver through SorvKeeper.
//   SorvSetup [program folder]      default: C:\Program Files\Sorvane
#include <windows.h>

#include <cstdio>
#include <string>

#include "ProgramFolder.h"

namespace {

std::wstring Wide(const std::string& text) {
  std::wstring wide(MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), int(wide.size()));
  wide.pop_back();
  return wide;
}

std::string ProgramFolder() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, n);
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

// Calls one export of the service library in folder; -1 when the library or the export
// is missing.
template <typename... Args>
int CallKeeper(const std::string& folder, const char* name, Args... args) {
  HMODULE keeper = LoadLibraryA((folder + "SorvKeeper.dll").c_str());
  FARPROC function = keeper ? GetProcAddress(keeper, name) : nullptr;
  int result = -1;
  if (function)
    result = reinterpret_cast<int(__stdcall*)(Args...)>(reinterpret_cast<void*>(function))(args...);
  if (keeper) FreeLibrary(keeper);
  return result;
}

// Right after the system starts, the service manager holds its database while it
// starts the automatic services, and refuses to start any other. Asking it to start
// one that runs already shows when that is over.
void WaitForServiceManager() {
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
  SC_HANDLE running = manager ? OpenServiceA(manager, "PlugPlay", SERVICE_START) : nullptr;
  for (int tries = 0; running && tries < 1200; ++tries) {
    if (StartServiceA(running, 0, nullptr) || GetLastError() != ERROR_SERVICE_DATABASE_LOCKED)
      break;
    Sleep(100);
  }
  if (running) CloseServiceHandle(running);
  if (manager) CloseServiceHandle(manager);
}

int InstallDriver(const std::string& folder) {
  WaitForServiceManager();
  return CallKeeper(folder, "SRCreateService", (folder + "SorvDisk.sys").c_str());
}

}  // namespace

int main(int argc, char** argv) {
  // Setup runs from a download folder: libraries come from the system's folder only.
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  std::string target = argc > 1 && *argv[1] ? argv[1] : "C:\\Program Files\\Sorvane";
  if (target.back() != '\\') target += '\\';
  std::string source = ProgramFolder();
  switch (setup::PrepareProgramFolder(Wide(target))) {
    case setup::FolderResult::Ready:
      break;
    case setup::FolderResult::ForeignOwner:
      fprintf(stderr, "SorvSetup: %s belongs to another owner than the administrators\n",
              target.c_str());
      return 1;
    default:
      fprintf(stderr, "SorvSetup: cannot create %s (error %lu)\n", target.c_str(), GetLastError());
      return 1;
  }
  CallKeeper(target, "SRSorvKeeper");  // a running driver holds its file: remove it first
  bool copied = _stricmp(source.c_str(), target.c_str()) == 0 ||
                setup::CopyProductFiles(Wide(source), Wide(target));
  if (InstallDriver(target) != 1) {
    fprintf(stderr, "SorvSetup: the driver could not be installed\n");
    return 2;
  }
  printf("SorvSetup: installed into %s\n", target.c_str());
  return copied ? 0 : 3;
}
