#include "TrayWindowProc.h"

#include <shellapi.h>

#include "QuitUnmount.h"
#include "SysTray.h"
#include "TrayState.h"
#include "forms.h"

namespace tray {
namespace {

// The system's own Windows folder: the windir variable is the user's to set, and a program it
// names would run with our rights.
std::wstring WindowsFolder() {
  wchar_t buffer[MAX_PATH];
  UINT n = GetSystemWindowsDirectoryW(buffer, MAX_PATH);
  return n && n < MAX_PATH ? std::wstring(buffer, n) : std::wstring(L"C:\\Windows");
}

void ToggleIconByHotKey() {
  NOTIFYICONDATAA data = PlainRecord(TrayForm->hWnd());
  if (TrayIconShown) {
    NotifyIcon(NIM_DELETE, data);
    TrayIconShown = false;
  } else {
    NotifyIcon(NIM_ADD, data);
    SetTrayTip(DriveTip());
    TrayIconShown = true;
  }
}

}  // namespace

void OpenMountedDrive() {
  forms::Shell(L"\"" + WindowsFolder() + L"\\explorer.exe\" " + MountedDrive,
               forms::WindowStyle::NormalFocus);
}

LRESULT CALLBACK TrayWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == TaskbarCreatedMsg && TaskbarCreatedMsg != 0 && TrayForm) {
    RecreateTrayIcon(*TrayForm);
  } else if (message == TrayCallbackMessage) {
    if (lParam == WM_LBUTTONDBLCLK) {
      OpenMountedDrive();
    } else if (lParam == WM_RBUTTONUP && TrayForm && TrayMenu) {
      SetForegroundWindow(TrayForm->hWnd());
      TrayForm->PopupMenu(*TrayMenu);
    }
  } else if (message == WM_HOTKEY && TrayForm) {
    if (int(wParam) == HotKeyId && LOWORD(lParam) == HotKeyModifiers &&
        HIWORD(lParam) == HotKeyVKey)
      ToggleIconByHotKey();
  }

  // The window's own procedure sees every message, the ones above included.
  LRESULT result = CallWindowProcW(OldWindowProc, hwnd, message, wParam, lParam);

  if (message == WM_QUERYENDSESSION) {
    if (static_cast<DWORD>(lParam) == ENDSESSION_LOGOFF) {
      forms::MsgBox(L"为了保护您数据的安全，提醒您先退出Velkiro程序再选择注销。",
                    MB_OK | MB_ICONINFORMATION, L"注意");
      return 0;
    }
    DeleteSendToLink();
  }
  // Log-off (the user may sign out although it was refused above), shutdown or restart.
  if (message == WM_ENDSESSION && wParam) UnmountForSessionEnd();
  return result;
}

}  // namespace tray
