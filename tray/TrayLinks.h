#pragma once
// Where the tray program sends the user: the maker's web page and the system's other programs.
#include <string>

#include "forms.h"

namespace tray {

inline constexpr wchar_t HomePage[] = L"http://www.velkiro.example/";

// A program of the program folder as the first word of a command line: quoted, so that a
// folder with blanks ("C:\Program Files\...") neither shifts the program's arguments nor
// starts another program found on a prefix of the path.
inline std::wstring ProgramFile(const std::wstring& exe) {
  return L"\"" + forms::AppPath() + L"\\" + exe + L"\"";
}

}  // namespace tray
