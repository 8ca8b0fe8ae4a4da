// mount_client COUNT: sends the command in SORV_COMMAND COUNT times through
// SorvMount.dll; the exit code is the number of calls that did not return 0.
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv) {
  char command[1024];
  if (argc < 2 || !GetEnvironmentVariableA("SORV_COMMAND", command, sizeof command)) return 100;
  auto mount = reinterpret_cast<int(__stdcall*)(const char*)>(
      reinterpret_cast<void*>(GetProcAddress(LoadLibraryA("SorvMount.dll"), "SorvMount")));
  if (!mount) return 101;
  int failures = 0;
  for (int i = atoi(argv[1]); i > 0; --i) failures += mount(command) != 0;
  return failures;
}
