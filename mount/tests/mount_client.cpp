// mount_client COUNT: sends the command in SORV_COMMAND COUNT times through
// SorvMount.dll; the exit code is the number of calls that did not return 0.
// mount_client read X: reads the first sector through the drive as any other program
// would; the exit code is 1000 plus its first byte, or the step that failed: 1 the
// letter is not defined, 2 no logical drive, 3 not opened, 4 not read.
// mount_client hold: takes the command semaphore, as any program of the session can,
// and keeps it until the event "SorvMountTestRelease" is set (60 s at most).
#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace {

int Read(const char* drive) {
  char target[MAX_PATH], volume[] = "\\\\.\\X:";
  if (!QueryDosDeviceA(drive, target, MAX_PATH)) return 1;
  if (!(GetLogicalDrives() & (1u << ((drive[0] | 0x20) - 'a')))) return 2;
  volume[4] = drive[0];
  HANDLE disk = CreateFileA(volume, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_NO_BUFFERING, nullptr);
  if (disk == INVALID_HANDLE_VALUE) return 3;
  alignas(512) static unsigned char sector[512];
  OVERLAPPED at = {};
  DWORD read = 0;
  const bool ok = ReadFile(disk, sector, sizeof sector, &read, &at) && read == sizeof sector;
  CloseHandle(disk);
  return ok ? 1000 + sector[0] : 4;
}

int Hold() {
  HANDLE semaphore = CreateSemaphoreA(nullptr, 1, 1, "SorvMount");
  HANDLE release = OpenEventA(SYNCHRONIZE, FALSE, "SorvMountTestRelease");
  if (!semaphore || !release || WaitForSingleObject(semaphore, 10000) != WAIT_OBJECT_0) return 1;
  WaitForSingleObject(release, 60000);
  ReleaseSemaphore(semaphore, 1, nullptr);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && !strcmp(argv[1], "read")) return Read(argv[2]);
  if (argc == 2 && !strcmp(argv[1], "hold")) return Hold();
  char command[1024];
  if (argc < 2 || !GetEnvironmentVariableA("SORV_COMMAND", command, sizeof command)) return 100;
  auto mount = reinterpret_cast<int(__stdcall*)(const char*)>(
      reinterpret_cast<void*>(GetProcAddress(LoadLibraryA("SorvMount.dll"), "SorvMount")));
  if (!mount) return 101;
  int failures = 0;
  for (int i = atoi(argv[1]); i > 0; --i) failures += mount(command) != 0;
  return failures;
}
