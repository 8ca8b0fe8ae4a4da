#pragma once
#include <string>

#include "forms.h"

// A program of the program folder as the first word of a command line: quoted, so that a
// folder with blanks ("C:\Program Files\...") neither shifts the program's arguments nor
// starts another program found on a prefix of the path.
inline std::wstring ProgramFile(const std::wstring& exe) {
  return L"\"" + forms::AppPath() + L"\\" + exe + L"\"";
}
