// SorvDesk.exe: the management program.
#include <windows.h>
#include <commctrl.h>

#include "MainForm.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);  // no current folder, no PATH
  InitCommonControls();
  desk::Form1 form;
  form.Show();
  return forms::Run();
}
