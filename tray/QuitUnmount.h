#pragma once
// Ending the tray program: the unmount dialogue and the SendTo shortcut.
#include <string>

namespace tray {

// Asks, unmounts MountedDrive, waits for the drive to go and offers the forced unmount when
// it stays. True when the program is to end now.
bool AskAndUnmount();

// The plain unmount of the drive ("X:" or "X:\\"), then the forced one when the drive
// stays; for when nobody is left to ask. True when the drive is gone.
bool UnmountOrForce(const std::wstring& drive);
// The session ends (log-off, shutdown, restart): the drive goes before the program does,
// or the next user to sign in finds it open.
void UnmountForSessionEnd();

// The SendTo shortcut's full path; empty when the SendTo folder is unknown.
std::wstring SendToLinkPath();
// Deletes the SendTo shortcut when it is there.
void DeleteSendToLink();

// The message boxes' title where the program's own is shown.
inline constexpr wchar_t ProgramTitle[] = L"start";

}  // namespace tray
