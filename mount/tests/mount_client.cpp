// mount_client COUNT: runs the command in SORV_COMMAND COUNT times through
// SorvMount.dll; the exit code is the number of calls that did not return 0.
// The driver test starts it to send commands from other processes.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  int count = argc > 1 ? atoi(argv[1]) : 1;
  char command[1024];
  if (!GetEnvironmentVariableA("SORV_COMMAND", command, sizeof command)) return 100;
  HMODULE library = LoadLibraryA("SorvMount.dll");
  if (!library) return 101;
  auto mount = reinterpret_cast<int(__stdcall*)(const char*)>(
      reinterpret_cast<void*>(GetProcAddress(library, "SorvMount")));
  if (!mount) return 102;
  int failures = 0;
  for (int i = 0; i < count; ++i) failures += mount(command) != 0;
  return failures;
}
