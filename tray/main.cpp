// start.exe: mounts the current container and keeps it in the tray until the user quits.
#include <windows.h>
#include <commctrl.h>

#include "Instance.h"
#include "PromptForm.h"
#include "QuitUnmount.h"
#include "TrayState.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);  // no current folder, no PATH
  InitCommonControls();
  forms::AppTitle(tray::ProgramTitle);
  if (!tray::TakeInstanceSemaphore()) return 0;
  tray::Form1 form;
  form.Load();
  if (tray::ProgramEnded || !form.IsLoaded()) return 0;
  form.Show();
  return forms::Run();
}
