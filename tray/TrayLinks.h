#pragma once
// Where the tray program sends the user: the maker's web page and the system's other programs.
#include <string>

#include "ProgramFile.h"

namespace tray {

inline constexpr wchar_t HomePage[] = L"http://www.velkiro.example/";

using ::ProgramFile;

}  // namespace tray
