#pragma once
// Small helpers of the main window and the password dialogs.
#include <cstdint>
#include <string>

#include "forms.h"

// A new disk key: 32 characters, 24 Base64 characters then 8 NULs, as the crypto library
// leaves its buffer.
std::wstring RandomChar();

// True when the text holds a blank (character 32; other white space does not count).
bool IsSpaceChar(const std::wstring& text);

// Free space of a drive ("G:" or "G:\") in whole MiB, halves to even; -1 when the drive does
// not exist or is not ready.
int32_t GetDriveFreeMB(const std::wstring& drive);

// Gives the current container's row (full path = SubItem 2 & SubItem 1, exactly equal to the
// setting Path) small icon 2, every other row icon 1.
void MarkCurrentContainer(forms::ListView& list);

// The four per-container buttons of the main window are switched off when the list is empty
// and on when a container is added; the window is refreshed in both cases.
template <class Button>
void UpdateButtonsForEmptyList(forms::ListView& list, Button& deleteFile, Button& activate,
                               Button& modifyPassword, Button& backup, forms::Form& window) {
  if (list.Count() == 0)
    for (Button* b : {&deleteFile, &activate, &modifyPassword, &backup}) b->Enabled(false);
  window.Refresh();
}

template <class Button>
void EnableListButtons(Button& deleteFile, Button& activate, Button& modifyPassword, Button& backup,
                       forms::Form& window) {
  for (Button* b : {&deleteFile, &activate, &modifyPassword, &backup})
    if (!b->Enabled()) b->Enabled(true);
  window.Refresh();
}
