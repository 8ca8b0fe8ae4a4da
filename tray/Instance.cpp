#include "Instance.h"

#include <windows.h>

#include "TrayState.h"
#include "forms.h"

namespace tray {

bool TakeInstanceSemaphore() {
  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
  SemaphoreHandle = CreateSemaphoreA(&sa, 1, 1, "Sorvane");
  if (WaitForSingleObject(SemaphoreHandle, 0) != WAIT_OBJECT_0) {
    forms::MsgBox(L"您已经运行了向导程序或者“启动Velkiro”程序，请先退出再尝试运行本程序",
                  MB_OK | MB_ICONINFORMATION, L"注意");
    return false;
  }
  return true;
}

}  // namespace tray
