// SorvSetup.exe: the installation program's stand-in. Copies the programs from its own
// folder into the program folder and installs the driver through SorvKeeper.
//   SorvSetup [program folder]      default: C:\Program Files\Sorvane
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

bool EndsWith(const std::string& s, const char* tail) {
  size_t n = strlen(tail);
  return s.size() >= n && _stricmp(s.c_str() + s.size() - n, tail) == 0;
}

// The deliverables and their stand-ins; test and benchmark programs stay behind.
bool BelongsToProduct(const std::string& name) {
  for (const char* tool : {"_test.exe", "_bench.exe", "_client.exe", "_probe.exe"})
    if (EndsWith(name, tool)) return false;
  return EndsWith(name, ".exe") || EndsWith(name, ".dll") || EndsWith(name, ".sys") ||
         EndsWith(name, ".ocx") || EndsWith(name, ".chm") || EndsWith(name, ".dat");
}

std::string ProgramFolder() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, n);
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

bool CopyProgramFiles(const std::string& from, const std::string& to) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((from + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  bool ok = true;
  do {
    std::string name = found.cFileName;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !BelongsToProduct(name)) continue;
    if (!CopyFileA((from + name).c_str(), (to + name).c_str(), FALSE)) {
      fprintf(stderr, "SorvSetup: cannot copy %s (error %lu)\n", name.c_str(), GetLastError());
      ok = false;
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return ok;
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
  std::string target = argc > 1 && *argv[1] ? argv[1] : "C:\\Program Files\\Sorvane";
  if (target.back() != '\\') target += '\\';
  std::string source = ProgramFolder();
  if (!CreateDirectoryA(target.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
    fprintf(stderr, "SorvSetup: cannot create %s (error %lu)\n", target.c_str(), GetLastError());
    return 1;
  }
  CallKeeper(target, "SRSorvKeeper");  // a running driver holds its file: remove it first
  bool copied = _stricmp(source.c_str(), target.c_str()) == 0 || CopyProgramFiles(source, target);
  if (InstallDriver(target) != 1) {
    fprintf(stderr, "SorvSetup: the driver could not be installed\n");
    return 2;
  }
  printf("SorvSetup: installed into %s\n", target.c_str());
  return copied ? 0 : 3;
}
