#include "Install.h"

#include <windows.h>

#include <cstdio>

#include "ProgramFolder.h"
#include "Reg.h"

namespace setup {
namespace {

// The service library, loaded from the program folder once; -1 from a call when it or the
// export is missing.
class Keeper {
 public:
  explicit Keeper(const std::wstring& folder)
      : module_(LoadLibraryW((folder + kKeeperFile).c_str())) {}
  ~Keeper() {
    if (module_) FreeLibrary(module_);
  }
  template <typename... Args>
  int Call(const char* name, Args... args) {
    FARPROC function = module_ ? GetProcAddress(module_, name) : nullptr;
    if (!function) return -1;
    return reinterpret_cast<int(__stdcall*)(Args...)>(reinterpret_cast<void*>(function))(args...);
  }

 private:
  HMODULE module_;
};

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

std::string Ansi(const std::wstring& text) {
  std::string ansi(WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr),
                   '\0');
  WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, ansi.data(), int(ansi.size()), nullptr, nullptr);
  ansi.pop_back();
  return ansi;
}

bool RecordFolder(const std::wstring& target) {
  const std::wstring folder = target.substr(0, target.size() - 1);
  return RegSetKeyValueW(HKEY_LOCAL_MACHINE, SettingsKey, InstallFolderValue, REG_SZ,
                         folder.c_str(),
                         DWORD((folder.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

}  // namespace

int Install(const std::wstring& source, const std::wstring& target) {
  HeldFolder held;
  switch (PrepareProgramFolder(target, held)) {
    case FolderResult::Ready:
      break;
    case FolderResult::OpenToOthers:
      fprintf(stderr, "SorvSetup: %ls may be changed by others than the administrators\n",
              target.c_str());
      return 1;
    case FolderResult::Link:
      fprintf(stderr, "SorvSetup: %ls is a link\n", target.c_str());
      return 1;
    case FolderResult::StrayFile:
      fprintf(stderr, "SorvSetup: %ls holds files that setup does not install\n", target.c_str());
      return 1;
    default:
      fprintf(stderr, "SorvSetup: cannot create %ls (error %lu)\n", target.c_str(), GetLastError());
      return 1;
  }
  // The service library is loaded only from the installed copy, never from what stood in the
  // folder before; a copy that failed leaves the earlier installation as it was.
  const bool here = _wcsicmp(source.c_str(), target.c_str()) == 0;
  if (!here && !CopyProductFiles(source, target)) return 3;
  Keeper keeper(target);
  keeper.Call("SRSorvKeeper");  // a running driver holds its file: remove it first
  const bool copied = here || CopyDriverFile(source, target);
  if (!RecordFolder(target)) fprintf(stderr, "SorvSetup: cannot record the folder\n");
  WaitForServiceManager();
  if (keeper.Call("SRCreateService", Ansi(target + kDriverFile).c_str()) != 1) {
    fprintf(stderr, "SorvSetup: the driver could not be installed\n");
    return 2;
  }
  printf("SorvSetup: installed into %ls\n", target.c_str());
  return copied ? 0 : 3;
}

}  // namespace setup
