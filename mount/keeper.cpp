// SorvKeeper.dll: installs the virtual-disk driver as the kernel service "Sorvane"
// and removes it again. Called by the installation program only.
#include <windows.h>

#include <cstdio>

namespace {

const char kServiceName[] = "Sorvane";

void ShowError(const char* prefix, const char* caption) {
  DWORD code = GetLastError();
  char text[96];
  snprintf(text, sizeof text, "%s%d", prefix, static_cast<int>(code));
  MessageBoxA(nullptr, text, caption, MB_OK);
}

}  // namespace

extern "C" int __stdcall SRSorvKeeper() {
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  if (!manager) return -1;
  int result = -1;
  if (SC_HANDLE service = OpenServiceA(manager, kServiceName, SERVICE_ALL_ACCESS)) {
    SERVICE_STATUS status;
    ControlService(service, SERVICE_CONTROL_STOP, &status);  // stopped or not, it goes
    result = DeleteService(service) ? 1 : -1;
    CloseServiceHandle(service);
  }
  CloseServiceHandle(manager);
  return result;
}

extern "C" int __stdcall SRCreateService(const char* driverPath) {
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  if (manager) {
    if (SC_HANDLE old = OpenServiceA(manager, kServiceName, SERVICE_ALL_ACCESS)) {
      CloseServiceHandle(old);
      SRSorvKeeper();
    }
  }
  SC_HANDLE service = nullptr;
  if (manager)
    service = CreateServiceA(manager, kServiceName, "Sorvmount title", SERVICE_ALL_ACCESS,
                             SERVICE_KERNEL_DRIVER, SERVICE_SYSTEM_START, SERVICE_ERROR_NORMAL,
                             driverPath, nullptr, nullptr, nullptr, nullptr, nullptr);
  if (!service) {
    ShowError("Create SorvaneService error.Code:", "CreateService Error");
    if (manager) CloseServiceHandle(manager);
    return -1;
  }
  int result = 1;
  if (!StartServiceA(service, 0, nullptr)) {
    ShowError("Start SorvaneService error.Code:", "StartService Error");
    result = -1;
  }
  CloseServiceHandle(service);
  CloseServiceHandle(manager);
  return result;
}
