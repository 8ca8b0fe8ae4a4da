// disk_bench [folder]: sequential throughput through a mounted drive, through the two
// drives of the null driver (bench\SorvNull.sys: no file, no cipher; one leaves the
// data alone, so what Wine itself can move through a driver, the other touches every
// byte as any driver that moves data must) and of plain file I/O on a file of the same
// size in the same folder, with 1 MiB and 16 MiB requests; and the in-memory XTS speed
// on each path this processor has. Needs the driver installed and administrator rights.
// disk_bench.sh beside it runs it with OpenSSL's XTS speed for comparison.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "xts.h"

namespace {

constexpr DWORD kRequests[] = {1 << 20, 16 << 20};
constexpr uint64_t kSize = 64ull << 20;
constexpr int kPasses = 10;  // the best of these: the machine may be busy with other work
const char kNullService[] = "SorvNullBench";

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// The driver's own work: 1 MiB (its scratch size) of 512-byte sectors at a time, in
// place; the best of three seconds.
double XtsGigabytesPerSecond(XtsPath path) {
  std::vector<uint8_t> buffer(1 << 20, 0x5a);
  const uint8_t key1[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
  const uint8_t key2[16] = {16, 15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1};
  XtsKey key;
  XtsSetKey(&key, key1, key2, path);
  double best = 0;
  for (int second = 0; second < 3; ++second) {
    uint64_t bytes = 0;
    auto start = std::chrono::steady_clock::now();
    do {
      XtsEncryptSectors(&key, bytes / 512, buffer.data(), buffer.data(), buffer.size() / 512);
      bytes += buffer.size();
    } while (Seconds(start) < 1.0);
    if (bytes / Seconds(start) / 1e9 > best) best = bytes / Seconds(start) / 1e9;
  }
  return best;
}

struct Throughput {
  double write = 0, read = 0;  // MB/s
};

// One pass over the first kSize bytes; keeps the best speed in megabytesPerSecond.
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
  double speed = kSize / Seconds(start) / 1e6;
  if (speed > *megabytesPerSecond) *megabytesPerSecond = speed;
  return true;
}

HANDLE Open(const char* path) {
  HANDLE handle =
      CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                  OPEN_EXISTING, FILE_FLAG_NO_BUFFERING, nullptr);
  if (handle == INVALID_HANDLE_VALUE)
    fprintf(stderr, "cannot open %s (error %lu)\n", path, GetLastError());
  return handle;
}

// Each target with both request sizes, writing then reading, the best of kPasses. The
// targets take turns within every pass, so a busy moment of the machine does not
// fall on one of them alone.
bool Measure(const HANDLE* handles, int count, Throughput (*t)[2]) {
  for (int pass = 0; pass < kPasses; ++pass)
    for (int size = 0; size < 2; ++size)
      for (bool write : {true, false})
        for (int i = 0; i < count; ++i)
          if (!Sequential(handles[i], kRequests[size], write,
                          write ? &t[i][size].write : &t[i][size].read))
            return false;
  return true;
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

// Free drive letters from Z down, count of them, or false.
bool FreeLetters(char* letters, int count) {
  DWORD used = GetLogicalDrives();
  for (char letter = 'Z'; letter > 'D' && count > 0; --letter)
    if (!(used & (1u << (letter - 'A')))) letters[--count] = letter;
  return count == 0;
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

// Loads the null driver and maps the letters onto its two devices.
bool LoadNullDriver(SC_HANDLE manager, char letter, char touchingLetter) {
  RemoveNullDriver(manager);
  std::string path = ProgramFolder() + "bench\\SorvNull.sys";
  SC_HANDLE service =
      CreateServiceA(manager, kNullService, kNullService, SERVICE_ALL_ACCESS, SERVICE_KERNEL_DRIVER,
                     SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL, path.c_str(), nullptr, nullptr,
                     nullptr, nullptr, nullptr);
  bool ok = service && StartServiceA(service, 0, nullptr);
  if (!ok) fprintf(stderr, "cannot load %s (error %lu)\n", path.c_str(), GetLastError());
  if (service) CloseServiceHandle(service);
  const char drive[] = {letter, ':', 0}, touching[] = {touchingLetter, ':', 0};
  return ok && DefineDosDeviceA(DDD_RAW_TARGET_PATH, drive, "\\Device\\SorvNull") &&
         DefineDosDeviceA(DDD_RAW_TARGET_PATH, touching, "\\Device\\SorvNullTouch");
}

void PrintRow(const char* name, const Throughput t[2]) {
  printf("  %-21s", name);
  for (int i = 0; i < 2; ++i) printf("   %7.0f %7.0f", t[i].write, t[i].read);
  printf("\n");
}

void PrintRatios(const char* name, const Throughput drive[2], const Throughput ceiling[2]) {
  printf("  %-21s", name);
  for (int i = 0; i < 2; ++i)
    printf("   %7.2f %7.2f", drive[i].write / ceiling[i].write, drive[i].read / ceiling[i].read);
  printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  const struct {
    XtsPath path;
    const char* name;
  } paths[] = {{XtsPath::Tables, "tables"},
               {XtsPath::AesNi, "AES instructions"},
               {XtsPath::Vaes256, "vector AES, AVX2"},
               {XtsPath::Vaes512, "vector AES, AVX-512"}};
  printf("XTS-AES-128 in memory, one core, 1 MiB of 512-byte sectors:\n");
  double fastest = 0;
  for (const auto& p : paths) {
    if (!XtsPathAvailable(p.path)) {
      printf("  %-20s not on this processor\n", p.name);
      continue;
    }
    const double speed = XtsGigabytesPerSecond(p.path);
    if (speed > fastest) fastest = speed;
    printf("  %-20s %6.2f GB/s\n", p.name, speed);
  }
  printf("xts: %.2f GB/s\n", fastest);  // the fastest path, for disk_bench.sh
  fflush(stdout);

  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string folder = argc > 1 ? std::string(argv[1]) + "\\" : std::string(temp);
  std::string container = folder + "bench container.cvd", plain = folder + "bench plain.bin";
  HMODULE library = LoadLibraryA("SorvMount.dll");
  auto mount = library ? reinterpret_cast<int(__stdcall*)(const char*)>(
                             reinterpret_cast<void*>(GetProcAddress(library, "SorvMount")))
                       : nullptr;
  char letters[3];  // the drive, the null driver, the touching null driver
  const bool lettersFree = FreeLetters(letters, 3);
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  if (!mount || !lettersFree || !manager) {
    fprintf(stderr, "SorvMount.dll, three free drive letters or the service manager is missing\n");
    return 1;
  }
  if (!MakeFile(container, kSize + 1024, true) || !MakeFile(plain, kSize, false)) {
    fprintf(stderr, "cannot make the files in %s\n", folder.c_str());
    return 1;
  }
  char line[600];
  snprintf(line, sizeof line, "/mount 0 \"%s\" %c: 0123456789abcdefghijklmn", container.c_str(),
           letters[0]);
  bool mounted = mount(line) == 0;
  if (!mounted) fprintf(stderr, "mount failed: is the driver installed?\n");
  bool ok = mounted && LoadNullDriver(manager, letters[1], letters[2]);
  constexpr int kTargets = 4;
  HANDLE handles[kTargets];
  const std::string targets[kTargets] = {std::string("\\\\.\\") + letters[0] + ":",
                                         std::string("\\\\.\\") + letters[1] + ":",
                                         std::string("\\\\.\\") + letters[2] + ":", plain};
  for (int i = 0; i < kTargets; ++i) {
    handles[i] = ok ? Open(targets[i].c_str()) : INVALID_HANDLE_VALUE;
    ok = ok && handles[i] != INVALID_HANDLE_VALUE;
  }
  Throughput t[kTargets][2];
  ok = ok && Measure(handles, kTargets, t);
  for (HANDLE handle : handles)
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  for (int i = 1; i < 3; ++i) {
    const char drive[] = {letters[i], ':', 0};
    DefineDosDeviceA(DDD_REMOVE_DEFINITION, drive, nullptr);
  }
  RemoveNullDriver(manager);
  CloseServiceHandle(manager);
  snprintf(line, sizeof line, "/umount %c:", letters[0]);
  if (mounted) mount(line);
  DeleteFileA(container.c_str());
  DeleteFileA(plain.c_str());
  if (!ok) return 1;

  printf("\nSequential over %llu MiB, best of %d passes, MB/s:\n",
         static_cast<unsigned long long>(kSize >> 20), kPasses);
  printf("  %-21s   %-15s   %-15s\n", "", "1 MiB requests", "16 MiB requests");
  printf("  %-21s   %7s %7s   %7s %7s\n", "", "write", "read", "write", "read");
  PrintRow("drive", t[0]);
  PrintRow("null driver", t[1]);
  PrintRow("touching null driver", t[2]);
  PrintRow("plain file", t[3]);
  PrintRatios("drive / null", t[0], t[1]);
  PrintRatios("drive / touching null", t[0], t[2]);
  printf("  (the drive's goal: at least 0.90 of the touching null driver)\n\n");
  // For scripts: the drive against the touching null driver, W1 R1 W16 R16.
  printf("drive / touching null: %.2f %.2f %.2f %.2f\n", t[0][0].write / t[2][0].write,
         t[0][0].read / t[2][0].read, t[0][1].write / t[2][1].write, t[0][1].read / t[2][1].read);
  return 0;
}
