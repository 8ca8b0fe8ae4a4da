// SorvForge.exe: the creation wizard for a first container.
#include <windows.h>
#include <commctrl.h>

#include "InstanceSemaphore.h"
#include "Wizard.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);  // no current folder, no PATH
  InitCommonControls();
  wizard::Wizard wizard;
  wizard.semaphore = TakeInstanceSemaphore();
  if (!wizard.semaphore) return 0;
  wizard.form1.Show();
  return forms::Run();
}
