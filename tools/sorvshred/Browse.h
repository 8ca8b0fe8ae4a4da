// The shell's folder browser, with files offered as well as folders.
#pragma once
#include <windows.h>

#include <string>

namespace shred {

// The picked item's file-system path without leading and trailing blanks; empty when the
// user cancelled or the item has no such path (the computer node, a URL).
std::wstring BrowseForFolderOrFile(HWND owner, const std::wstring& title);

}  // namespace shred
