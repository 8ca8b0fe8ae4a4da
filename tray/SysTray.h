#pragma once
// The tray icon: its records, the tip, putting it back after the taskbar was re-created.
#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <string>

namespace forms {
class Form;
class Menu;
}  // namespace forms

namespace tray {

inline constexpr UINT TrayCallbackMessage = WM_USER + 1;

// The shell's icon call. Tests put a recorder in its place; an empty function restores the
// shell. Returns the previous one.
using NotifyIconSink = std::function<BOOL(DWORD message, const NOTIFYICONDATAA& data)>;
NotifyIconSink SetNotifyIconSink(NotifyIconSink sink);
BOOL NotifyIcon(DWORD message, NOTIFYICONDATAA& data);

// Lets the shell's "TaskbarCreated" through to our window: the shell runs without
// administrator rights and Windows drops its messages to an elevated window otherwise. Tests
// put a recorder of the filter call in its place; an empty function restores the system.
using MessageFilterSink = std::function<BOOL(HWND hwnd, UINT message, DWORD action)>;
MessageFilterSink SetMessageFilterSink(MessageFilterSink sink);
void AllowTaskbarCreated(HWND hwnd, UINT message);

// The icon the form shows (also the tray icon).
HICON FormIcon(HWND hwnd);

// Show, hide and final delete: message, icon and tip "Velkiro".
NOTIFYICONDATAA PlainRecord(HWND hwnd);
// First display and re-creation: also the balloon naming the drive for ten seconds.
NOTIFYICONDATAA BalloonRecord(HWND hwnd, const std::wstring& drive);

// Keeps the tray's owner and menu and prepares the record for tip changes.
void AttachTrayMenu(forms::Form& form, forms::Menu& menu);
// Changes only the icon's tip.
void SetTrayTip(const std::wstring& text);
void RecreateTrayIcon(forms::Form& form);

// "加密盘盘符为 X:\": the tip while mounted.
std::wstring DriveTip();

}  // namespace tray
