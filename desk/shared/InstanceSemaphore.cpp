#include "InstanceSemaphore.h"

#include "forms.h"
#include "private_names.h"

HANDLE TakeInstanceSemaphore() {
  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
  HANDLE handle = CreateSemaphoreW(&sa, 1, 1, forms::GuardedName(L"Sorvane").c_str());
  if (handle && WaitForSingleObject(handle, 0) == WAIT_OBJECT_0) return handle;
  if (handle) CloseHandle(handle);
  forms::MsgBox(L"您已经运行了向导程序或者“启动Velkiro”程序，请先退出再尝试运行本程序",
                MB_OK | MB_ICONINFORMATION, L"注意");
  return nullptr;
}

void ReleaseInstanceSemaphore(HANDLE& handle) {
  if (!handle) return;
  ReleaseSemaphore(handle, 1, nullptr);
  CloseHandle(handle);
  handle = nullptr;
}
