// SorvLink: writes a shell shortcut from the command line; the tray program
// runs it hidden after each mount. Exit code: the last HRESULT.
#include <windows.h>
#include <shellapi.h>
#include <stdio.h>

#include "createlink.h"

int main() {
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);  // no current folder, no PATH
  printf("Sorvane Create short cut utility.\n");
  // The wide command line: an ANSI copy would turn characters like U+FF3C into '\'.
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv || argc != 4) {
    printf("Usage: SorvLink <ShortCutObject> <ShortCutPathName> <Description>\n");
    printf("Example: SorvLink c:\\winnt\\notepad.exe c:\\test.lnk TestShortCut\n");
    LocalFree(argv);
    return E_INVALIDARG;
  }
  fflush(stdout);
  HRESULT result = CreateLink(argv[1], argv[2], argv[3]);
  LocalFree(argv);
  return result;
}
