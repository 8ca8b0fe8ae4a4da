#pragma once
// The SendTo shortcut's folder and its safe removal. The tray program runs as administrator
// and the SendTo folder is the user's: nothing found there is trusted before it is checked.
#include <functional>
#include <string>

namespace tray {

// The description the shortcut tool writes into the drive's shortcut.
inline constexpr wchar_t LinkDescription[] = L"LnkOfVirtualDisk";

// The SendTo folder of the user's profile (never the "Shell Folders" or "User Shell Folders"
// value, which any program of the user can point elsewhere), without a trailing backslash;
// empty when unknown. Tests put a lookup of their own in its place; an empty function
// restores the shell's. Returns the previous one.
using SendToLookup = std::function<std::wstring()>;
SendToLookup SetSendToLookup(SendToLookup lookup);
std::wstring UserSendToFolder();

// Deletes the file at `path` when, opened without following links, it is a plain file holding
// our shortcut to `drive` ("X:\"); anything else stays. True when deleted.
bool DeleteOurShortcut(const std::wstring& path, const std::wstring& drive);

}  // namespace tray
