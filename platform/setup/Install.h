#pragma once
// The installation itself: the program folder, the files, the driver service, the record.
#include <string>

namespace setup {

// Installs the system from folder `source` into folder `target` (both ending in "\").
// The installed folder is recorded in the settings (HKLM), where only administrators write.
// 0: done; 1: the folder is refused; 2: the driver is not installed; 3: a file is not copied.
int Install(const std::wstring& source, const std::wstring& target);

}  // namespace setup
