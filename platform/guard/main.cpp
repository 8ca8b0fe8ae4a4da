// SorvGuard.exe: the logon program. With protection on (setting IsProtectFile "1") it asks
// the driver to guard the current container file, and ends.
#include <windows.h>

#include "CutAtNul.h"
#include "Protection.h"
#include "Reg.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);  // no current folder, no PATH
  if (CutAtNul(GetSetting(L"IsProtectFile")) == L"1") ProtectCvdFile();
  return 0;
}
