// The one SendTo folder the shortcut is written into, shared by the tray program (which names
// the shortcut's path) and the shortcut tool (which refuses any other folder).
#pragma once

#include <string>

// The SendTo folder of the running user's profile: the profile folder that the system keeps
// for the account, never the user's own shell-folder settings. Empty when unknown.
std::wstring ProfileSendTo();

// The part of that path below the profile folder.
inline constexpr wchar_t kSendToInProfile[] = L"\\AppData\\Roaming\\Microsoft\\Windows\\SendTo";
