// A SorvBlock.dll for the tray tests: the real library (beside it as SorvBlockReal.dll, the
// other exports forwarded there by the .def), except that reading the data block named in
// SORV_BLOCK_READ_FAIL ("1" or "2") fails as an unreadable file does.
#include <windows.h>

#include <cstdlib>

extern "C" int __stdcall CVD_ReadDataBlock(const char* path, int index, char* out) {
  char value[16];
  if (GetEnvironmentVariableA("SORV_BLOCK_READ_FAIL", value, sizeof value) != 0 &&
      std::atoi(value) == index)
    return -1;
  using Read = int __stdcall(const char*, int, char*);
  static Read* real = reinterpret_cast<Read*>(reinterpret_cast<void*>(
      GetProcAddress(LoadLibraryA("SorvBlockReal.dll"), "CVD_ReadDataBlock")));
  return real ? real(path, index, out) : -1;
}
