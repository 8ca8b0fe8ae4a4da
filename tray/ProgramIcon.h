#pragma once
#include <windows.h>

namespace tray {

// The program's icon, drawn once: a disk with a padlock. Window, tray and pictures share it.
HICON ProgramIcon();

}  // namespace tray
