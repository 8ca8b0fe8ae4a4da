#include "ProgramFolder.h"

#include <windows.h>

std::wstring ProgramFolder() {
  std::wstring path(32768, L'\0');
  DWORD n = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
  path.resize(n);
  return path.substr(0, path.find_last_of(L'\\'));
}
