#pragma once
#include <string>

// The first drive letter from C: to Z: that does not exist ("Z:" when all do): the mount
// library maps it to the driver only for the length of one request.
std::wstring FreeDriveLetter();

// Asks the driver to guard the current container file (setting Path); nothing when no
// container is current. A failure is shown in a message box.
void ProtectCvdFile();
// Asks the driver to release the guard.
void UnprotectCvdFile();
