// A SorvBlock.dll for the dialog tests: the real library (beside it as SorvBlockReal.dll, the
// other exports forwarded there by the .def), except that writing the data block named in
// SORV_BLOCK_WRITE_FAIL ("1" or "2") fails as a file that cannot be written does.
#include <windows.h>

#include <cstdlib>

extern "C" int __stdcall CVD_WriteDataBlock(const char* path, int index, const char* text) {
  char value[16];
  if (GetEnvironmentVariableA("SORV_BLOCK_WRITE_FAIL", value, sizeof value) != 0 &&
      std::atoi(value) == index)
    return -1;
  using Write = int __stdcall(const char*, int, const char*);
  static Write* real = reinterpret_cast<Write*>(reinterpret_cast<void*>(
      GetProcAddress(LoadLibraryA("SorvBlockReal.dll"), "CVD_WriteDataBlock")));
  return real ? real(path, index, text) : -1;
}
