#include "DriveChoice.h"

#include "forms.h"

namespace tray {

std::vector<std::wstring> FreeDriveLetters() {
  std::vector<std::wstring> free;
  for (wchar_t letter = L'C'; letter <= L'Z'; ++letter) {
    std::wstring drive{letter, L':'};
    if (!forms::DriveExists(drive)) free.push_back(drive);
  }
  return free;
}

int PreselectIndex(const std::vector<std::wstring>& list, const std::wstring& stored) {
  int automatic = 0;
  for (int i = 0; i < int(list.size()); ++i)
    if (list[i] == AutoDrive) automatic = i;
  if (stored.empty() || stored == AutoDrive) return automatic;
  for (int i = 0; i + 1 < int(list.size()); ++i)
    if (list[i] == stored) return i;
  return automatic;
}

std::wstring DriveForChoice(const std::wstring& chosen, const std::wstring& lastEntry) {
  std::wstring drive = chosen == AutoDrive ? lastEntry : chosen;
  bool letter = drive.size() == 2 && drive[1] == L':' && drive[0] >= L'A' && drive[0] <= L'Z';
  return letter ? drive : std::wstring();
}

}  // namespace tray
