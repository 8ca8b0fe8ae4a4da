#pragma once
// The prompt's drive list: the automatic entry and the free letters, and which one to
// preselect from the stored DriveLetter.
#include <string>
#include <vector>

namespace tray {

inline constexpr wchar_t AutoDrive[] = L" 自动选择";

// "C:" to "Z:", those that do not exist now.
std::vector<std::wstring> FreeDriveLetters();

// The entry to select in the sorted list (the automatic entry first). The stored value is
// compared with every entry but the last; no match, or an empty or automatic value, selects
// the automatic entry.
int PreselectIndex(const std::vector<std::wstring>& list, const std::wstring& stored);

// The drive the mount uses for the chosen text: the last list entry for the automatic
// choice. Empty when that is no drive letter (no free letter at all).
std::wstring DriveForChoice(const std::wstring& chosen, const std::wstring& lastEntry);

}  // namespace tray
