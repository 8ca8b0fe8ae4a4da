#include "TrayState.h"

namespace tray {

void ResetState() {
  SemaphoreHandle = nullptr;
  TaskbarCreatedMsg = 0;
  SendToFolder.clear();
  MountedDrive.clear();
  SendToLinkName.clear();
  OldWindowProc = nullptr;
  TrayForm = nullptr;
  TrayMenu = nullptr;
  HotKeyId = 0;
  HotKeyModifiers = 0;
  HotKeyVKey = 0;
  TrayIconShown = false;
  TrayTipData = NOTIFYICONDATAA{};
  ProgramEnded = false;
}

}  // namespace tray
