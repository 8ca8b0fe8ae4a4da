#pragma once
// Ending the tray program: the unmount dialogue and the SendTo shortcut.
#include <string>

namespace tray {

// Asks, unmounts MountedDrive, waits for the drive to go and offers the forced unmount when
// it stays. True when the program is to end now.
bool AskAndUnmount();

// The SendTo shortcut's full path; empty when the SendTo folder is unknown.
std::wstring SendToLinkPath();
// Deletes the SendTo shortcut when it is there.
void DeleteSendToLink();

// The message boxes' title where the program's own is shown.
inline constexpr wchar_t ProgramTitle[] = L"start";

}  // namespace tray
