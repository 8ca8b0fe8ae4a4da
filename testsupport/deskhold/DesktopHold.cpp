// Holds the prefix's desktop open while tests run, started once by scripts/wine-run.
//
// Wine starts "explorer.exe /desktop" from each process that asks for the desktop window
// while there is none, with that process's output streams: tests that start together start
// several, and the one that stays writes into a test's pipe. The server also closes a desktop
// a second after its last user leaves, so this would come back at the next gap between
// tests. This program asks for the desktop alone, before any test starts and with no pipe
// of a test's, and stays one of its users until the prefix has had no other program running
// for a while.
//
// Usage: DesktopHold.exe READY_FILE   (written once the desktop is up, removed on exit)
#include <windows.h>

#include <tlhelp32.h>

#include <string>

namespace {

// Programs Wine runs for itself, and other holders: they never need the desktop kept.
bool IsWineOwn(const wchar_t* exe) {
  if (lstrcmpiW(exe, L"DesktopHold.exe") == 0) return true;
  static const wchar_t* const own[] = {L"explorer.exe", L"services.exe", L"winedevice.exe",
                                       L"plugplay.exe", L"svchost.exe",  L"rpcss.exe",
                                       L"conhost.exe",  L"wineboot.exe"};
  for (const wchar_t* name : own)
    if (lstrcmpiW(exe, name) == 0) return true;
  return false;
}

bool OthersRunning() {
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snap == INVALID_HANDLE_VALUE) return true;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  bool others = false;
  for (BOOL ok = Process32FirstW(snap, &entry); ok && !others; ok = Process32NextW(snap, &entry))
    others = !IsWineOwn(entry.szExeFile);
  CloseHandle(snap);
  return others;
}

bool WriteReady(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) return 2;
  const std::wstring ready = argv[1];
  // Starts explorer.exe /desktop when there is none and waits until it is idle.
  if (!GetDesktopWindow() || !WriteReady(ready)) return 1;
  constexpr DWORD kPollMs = 500, kIdleMs = 5000;
  for (DWORD idle = 0;;) {
    Sleep(kPollMs);
    idle = OthersRunning() ? 0 : idle + kPollMs;
    if (idle < kIdleMs) continue;
    // Withdraw first, then look once more: a test that saw the file a moment ago is
    // running by now.
    DeleteFileW(ready.c_str());
    Sleep(2 * kPollMs);
    if (!OthersRunning()) return 0;
    idle = 0;
    if (!WriteReady(ready)) return 1;
  }
}
