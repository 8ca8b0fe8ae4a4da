// SorvSparse.exe "path" <n>M: makes the file new, marks it sparse and sets its length to
// n MiB. Exit code 0 only when all of that succeeded; a file that already exists is left
// alone (2), and a file it made but could not finish is deleted again (3).
#include <windows.h>
#include <winioctl.h>

#include "SparseArgs.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);  // no current folder, no PATH
  auto args = sparse::ParseArgs(sparse::SkipProgramName(GetCommandLineW()));
  if (!args) return 1;
  HANDLE h = CreateFileW(args->path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_EXISTS ? 2 : 3;
  DWORD returned = 0;
  LARGE_INTEGER length;
  length.QuadPart = LONGLONG(args->bytes);
  bool ok = DeviceIoControl(h, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr) &&
            SetFilePointerEx(h, length, nullptr, FILE_BEGIN) && SetEndOfFile(h);
  CloseHandle(h);
  if (ok) return 0;
  DeleteFileW(args->path.c_str());
  return 3;
}
