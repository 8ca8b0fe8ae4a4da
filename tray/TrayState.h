#pragma once
// What the tray program keeps for its whole run: set while starting and mounting, used by
// the tray window procedure and by the quit.
#include <windows.h>
#include <shellapi.h>

#include <string>

namespace forms {
class Form;
class Menu;
}  // namespace forms

namespace tray {

inline HANDLE SemaphoreHandle = nullptr;
inline UINT TaskbarCreatedMsg = 0;
inline std::wstring SendToFolder;    // no trailing backslash; empty when the value is missing
inline std::wstring MountedDrive;    // "X:" while mounting, "X:\" afterwards
inline std::wstring SendToLinkName;  // "加密盘X.lnk"
inline WNDPROC OldWindowProc = nullptr;
inline forms::Form* TrayForm = nullptr;
inline forms::Menu* TrayMenu = nullptr;
inline int HotKeyId = 0;
inline UINT HotKeyModifiers = 0;
inline UINT HotKeyVKey = 0;
inline bool TrayIconShown = false;
inline NOTIFYICONDATAA TrayTipData{};
// Set when start-up decided to end the program without showing the prompt.
inline bool ProgramEnded = false;

// Everything back to the state of a fresh start (the tests run several starts in one process).
void ResetState();

}  // namespace tray
