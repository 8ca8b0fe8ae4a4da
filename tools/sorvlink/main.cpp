// SorvLink: writes a shell shortcut from the command line; the tray program
// runs it hidden after each mount. Exit code: the last HRESULT.
#include <windows.h>
#include <stdio.h>

#include "createlink.h"

int main(int argc, char** argv) {
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);  // no current folder, no PATH
  printf("Sorvane Create short cut utility.\n");
  if (argc != 4) {
    printf("Usage: SorvLink <ShortCutObject> <ShortCutPathName> <Description>\n");
    printf("Example: SorvLink c:\\winnt\\notepad.exe c:\\test.lnk TestShortCut\n");
    return E_INVALIDARG;
  }
  fflush(stdout);
  return CreateLink(argv[1], argv[2], argv[3]);
}
