// SorvShred: wipes the file or folder named on its command line, or picked in the browser,
// beyond recovery, after the user confirmed it.
#include <windows.h>
#include <objbase.h>

#include "ShredMain.h"
#include "SorvShredX.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR arguments, int) {
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);  // no current folder, no PATH
  CoInitialize(nullptr);  // the browser is a shell dialog
  shredder::SorvShredX control;
  shred::ShredMain(arguments ? arguments : L"", control);
  CoUninitialize();
  return 0;
}
