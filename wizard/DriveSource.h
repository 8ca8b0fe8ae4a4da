#pragma once
// Where the wizard learns about drives. Tests put a list of their own here: this system cannot
// make FAT volumes, nor volumes of a file system the wizard refuses.
#include <functional>
#include <string>
#include <vector>

#include "forms.h"

namespace wizard {

using DriveLister = std::function<std::vector<forms::Drive>()>;
// Replaces the system's drives (an empty lister restores them); returns the previous one.
DriveLister SetDriveLister(DriveLister lister);

std::vector<forms::Drive> ListDrives();
// The file-system name of the drive of "X:" ("NTFS", "FAT32", ...), "" when unknown.
std::wstring ShowFileSystemType(const std::wstring& drive);

}  // namespace wizard
