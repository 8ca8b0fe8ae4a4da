// Drive letters of the user's other logon session. Under UAC an elevated program and the
// user's own programs live in two logon sessions, each with letters of its own (a network
// drive, a subst). A letter the other session has hides the drive linked for every session
// there, so it is never free for a mount.
#pragma once
#include <windows.h>

namespace forms {

// The letters (bit 0 = A:) defined in the logon session of this process's linked token;
// 0 when the token has no linked one.
DWORD LinkedSessionDrives();

// Tests supply the other session's letters; returns the source before.
using DriveLetterSource = DWORD (*)();
DriveLetterSource SetLinkedSessionSource(DriveLetterSource source);

}  // namespace forms
