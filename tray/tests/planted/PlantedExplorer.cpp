// Planted by a test as "explorer.exe" in a folder that the windir variable names: when it runs,
// it leaves ran.txt beside itself.
#include <windows.h>

#include <string>

int main() {
  wchar_t self[MAX_PATH];
  std::wstring path(self, GetModuleFileNameW(nullptr, self, MAX_PATH));
  path = path.substr(0, path.find_last_of(L'\\') + 1) + L"ran.txt";
  CloseHandle(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  return 0;
}
