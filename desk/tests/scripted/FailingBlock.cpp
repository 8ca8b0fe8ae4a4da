// A SorvBlock.dll for the dialog tests: the real library (beside it as SorvBlockReal.dll, the
// other exports forwarded there by the .def), except that writing the data block named in
// SORV_BLOCK_WRITE_FAIL ("1" or "2") fails as a file that cannot be written does, and writing
// the block named in SORV_BLOCK_WRITE_LANDS lands and then reports failure (a failed flush).
#include <windows.h>

#include <cstdlib>

namespace {
bool Named(const char* variable, int index) {
  char value[16];
  return GetEnvironmentVariableA(variable, value, sizeof value) != 0 && std::atoi(value) == index;
}
}  // namespace

extern "C" int __stdcall CVD_WriteDataBlock(const char* path, int index, const char* text) {
  if (Named("SORV_BLOCK_WRITE_FAIL", index)) return -1;
  using Write = int __stdcall(const char*, int, const char*);
  static Write* real = reinterpret_cast<Write*>(reinterpret_cast<void*>(
      GetProcAddress(LoadLibraryA("SorvBlockReal.dll"), "CVD_WriteDataBlock")));
  const int result = real ? real(path, index, text) : -1;
  return Named("SORV_BLOCK_WRITE_LANDS", index) ? -1 : result;
}
