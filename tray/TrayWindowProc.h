#pragma once
// The window procedure put in front of the prompt window's own once the drive is mounted:
// the icon's mouse messages, the hot key, the taskbar's re-creation and the session's end.
#include <windows.h>

namespace tray {

LRESULT CALLBACK TrayWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Opens the mounted drive in the file manager (double click and "打开加密盘").
void OpenMountedDrive();

}  // namespace tray
