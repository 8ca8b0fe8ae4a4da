// A SorvSparse.exe for the wizard's tests: makes the file as asked, unless SORV_SPARSE_MODE
// says otherwise: "lost" ends with success and makes nothing, "short" leaves 1024 bytes,
// "slow" takes five seconds first, "kept" makes it whole and ends with a failure all the same.
#include <windows.h>

#include <string>

#include "SparseArgs.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  auto args = sparse::ParseArgs(sparse::SkipProgramName(GetCommandLineW()));
  if (!args) return 1;
  wchar_t mode[16] = {};
  GetEnvironmentVariableW(L"SORV_SPARSE_MODE", mode, 16);
  const std::wstring how = mode;
  if (how == L"lost") return 0;
  if (how == L"slow") Sleep(5000);
  HANDLE h = CreateFileW(args->path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return 2;
  LARGE_INTEGER length;
  length.QuadPart = how == L"short" ? 1024 : LONGLONG(args->bytes);
  SetFilePointerEx(h, length, nullptr, FILE_BEGIN);
  SetEndOfFile(h);
  CloseHandle(h);
  return how == L"kept" ? 3 : 0;
}
