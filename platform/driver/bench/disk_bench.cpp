// disk_bench [folder]: sequential throughput through a mounted drive, through a drive
// of the null driver (bench\SorvNull.sys: no file, no cipher, so what Wine itself can
// move through a driver) and of plain file I/O on a file of the same size in the same
// folder, with 1 MiB and 16 MiB requests; and the in-memory XTS speed with and
// without the AES instructions. Needs the driver installed and administrator rights.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "xts.h"

namespace {

constexpr DWORD kRequests[] = {1 << 20, 16 << 20};
constexpr uint64_t kSize = 256ull << 20;
const char kNullService[] = "SorvNullBench";

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

double XtsGigabytesPerSecond(bool aesInstructions) {
  std::vector<uint8_t> buffer(16 << 20, 0x5a);
  const uint8_t key1[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
  XtsKey key;
  XtsSetDiskKey(&key, key1, aesInstructions);
  uint64_t bytes = 0;
  auto start = std::chrono::steady_clock::now();
  do {
    XtsEncryptSectors(&key, bytes / 512, buffer.data(), buffer.data(), buffer.size() / 512);
    bytes += buffer.size();
  } while (Seconds(start) < 1.0);
  return bytes / Seconds(start) / 1e9;
}

struct Throughput {
  double write = 0, read = 0;  // MB/s
};

bool Sequential(HANDLE handle, DWORD request, bool write, double* megabytesPerSecond) {
  std::vector<uint8_t> buffer(request, 0xa5);
  auto start = std::chrono::steady_clock::now();
  for (uint64_t offset = 0; offset < kSize; offset += request) {
    OVERLAPPED at = {};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD done = 0;
    BOOL ok = write ? WriteFile(handle, buffer.data(), request, &done, &at)
                    : ReadFile(handle, buffer.data(), request, &done, &at);
    if (!ok || done != request) {
      fprintf(stderr, "%s failed at %llu (error %lu)\n", write ? "write" : "read",
              static_cast<unsigned long long>(offset), GetLastError());
      return false;
    }
  }
  *megabytesPerSecond = kSize / Seconds(start) / 1e6;
  return true;
}

// Both request sizes, writing then reading.
bool Measure(const char* path, Throughput t[2]) {
  HANDLE handle =
      CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                  OPEN_EXISTING, FILE_FLAG_NO_BUFFERING, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    fprintf(stderr, "cannot open %s (error %lu)\n", path, GetLastError());
    return false;
  }
  bool ok = true;
  for (int i = 0; i < 2 && ok; ++i)
    ok = Sequential(handle, kRequests[i], true, &t[i].write) &&
         Sequential(handle, kRequests[i], false, &t[i].read);
  CloseHandle(handle);
  return ok;
}

bool MakeFile(const std::string& path, uint64_t size, bool header) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER end;
  end.QuadPart = static_cast<LONGLONG>(size);
  bool ok = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
  if (header) {
    uint8_t bytes[1024] = {'S', 'R', 0, 0, 0, 4, 0, 0, 1};
    DWORD written;
    end.QuadPart = 0;
    ok = ok && SetFilePointerEx(file, end, nullptr, FILE_BEGIN) &&
         WriteFile(file, bytes, sizeof bytes, &written, nullptr);
  }
  CloseHandle(file);
  return ok;
}

char FreeLetter() {
  DWORD used = GetLogicalDrives();
  for (char letter = 'Z'; letter > 'D'; --letter)
    if (!(used & (1u << (letter - 'A')))) return letter;
  return 0;
}

std::string ProgramFolder() {
  char path[MAX_PATH];
  std::string self(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
  return self.substr(0, self.find_last_of('\\') + 1);
}

// Stops and removes the null driver's service, left over or ours.
void RemoveNullDriver(SC_HANDLE manager) {
  SC_HANDLE service = OpenServiceA(manager, kNullService, SERVICE_ALL_ACCESS);
  if (!service) return;
  SERVICE_STATUS status;
  ControlService(service, SERVICE_CONTROL_STOP, &status);
  DeleteService(service);
  CloseServiceHandle(service);
}

// Loads the null driver, maps a letter onto its device and measures through it.
bool MeasureNullDriver(char letter, Throughput t[2]) {
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  if (!manager) return false;
  RemoveNullDriver(manager);
  std::string path = ProgramFolder() + "bench\\SorvNull.sys";
  SC_HANDLE service =
      CreateServiceA(manager, kNullService, kNullService, SERVICE_ALL_ACCESS, SERVICE_KERNEL_DRIVER,
                     SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL, path.c_str(), nullptr, nullptr,
                     nullptr, nullptr, nullptr);
  bool ok = service && StartServiceA(service, 0, nullptr);
  if (!ok) fprintf(stderr, "cannot load %s (error %lu)\n", path.c_str(), GetLastError());
  if (service) CloseServiceHandle(service);
  char drive[] = "X:", volume[] = "\\\\.\\X:";
  drive[0] = volume[4] = letter;
  ok = ok && DefineDosDeviceA(DDD_RAW_TARGET_PATH, drive, "\\Device\\SorvNull");
  ok = ok && Measure(volume, t);
  DefineDosDeviceA(DDD_REMOVE_DEFINITION, drive, nullptr);
  RemoveNullDriver(manager);
  CloseServiceHandle(manager);
  return ok;
}

void PrintRow(const char* name, const Throughput t[2]) {
  printf("  %-14s", name);
  for (int i = 0; i < 2; ++i) printf("   %7.0f %7.0f", t[i].write, t[i].read);
  printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  printf("XTS-AES-128 in memory, one core:\n");
  printf("  tables:          %6.2f GB/s\n", XtsGigabytesPerSecond(false));
  if (AesNiAvailable())
    printf("  AES instructions:%6.2f GB/s\n", XtsGigabytesPerSecond(true));
  else
    printf("  AES instructions: not on this processor\n");

  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string folder = argc > 1 ? std::string(argv[1]) + "\\" : std::string(temp);
  std::string container = folder + "bench container.cvd", plain = folder + "bench plain.bin";
  HMODULE library = LoadLibraryA("SorvMount.dll");
  auto mount = library ? reinterpret_cast<int(__stdcall*)(const char*)>(
                             reinterpret_cast<void*>(GetProcAddress(library, "SorvMount")))
                       : nullptr;
  char letter = FreeLetter();
  if (!mount || !letter) {
    fprintf(stderr, "SorvMount.dll or a free drive letter is missing\n");
    return 1;
  }
  if (!MakeFile(container, kSize + 1024, true) || !MakeFile(plain, kSize, false)) {
    fprintf(stderr, "cannot make the files in %s\n", folder.c_str());
    return 1;
  }
  char line[600];
  snprintf(line, sizeof line, "/mount 0 \"%s\" %c: 0123456789abcdefghijklmn", container.c_str(),
           letter);
  if (mount(line) != 0) {
    fprintf(stderr, "mount failed: is the driver installed?\n");
    return 1;
  }
  char volume[] = "\\\\.\\X:";
  volume[4] = letter;
  Throughput drive[2], null[2], file[2];
  bool ok = Measure(volume, drive);
  snprintf(line, sizeof line, "/umount %c:", letter);
  mount(line);
  ok = ok && MeasureNullDriver(letter, null) && Measure(plain.c_str(), file);
  DeleteFileA(container.c_str());
  DeleteFileA(plain.c_str());
  if (!ok) return 1;

  printf("\nSequential over %llu MiB, MB/s:\n", static_cast<unsigned long long>(kSize >> 20));
  printf("  %-14s   %-15s   %-15s\n", "", "1 MiB requests", "16 MiB requests");
  printf("  %-14s   %7s %7s   %7s %7s\n", "", "write", "read", "write", "read");
  PrintRow("drive", drive);
  PrintRow("null driver", null);
  PrintRow("plain file", file);
  printf("  %-14s", "drive / null");
  for (int i = 0; i < 2; ++i)
    printf("   %7.2f %7.2f", drive[i].write / null[i].write, drive[i].read / null[i].read);
  printf("\n  (the drive's goal: at least 0.90 of the null driver)\n");
  return 0;
}
