// SorvSetup.exe: the installation program's stand-in. Copies the system's files from its own
// folder into the program folder and installs the driver through SorvKeeper.
//   SorvSetup [program folder]      default: C:\Program Files\Sorvane
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "Install.h"

namespace {

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, n);
  return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

}  // namespace

int main() {
  // Setup runs from a download folder: libraries come from the system's folder only.
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::wstring target = argc > 1 && *argv[1] ? argv[1] : L"C:\\Program Files\\Sorvane";
  LocalFree(argv);
  if (target.back() != L'\\') target += L'\\';
  return setup::Install(ProgramFolder(), target);
}
