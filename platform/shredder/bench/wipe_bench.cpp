// How fast a file is wiped: shredder_bench [MiB] wipes a new file of that size (256 by
// default) in %TEMP% and prints the rate over both passes.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "SorvShredX.h"

int main(int argc, char** argv) {
  const long long mib = argc > 1 ? std::atoll(argv[1]) : 256;
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring path = std::wstring(temp) + L"shredder_bench.bin";
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  std::vector<char> block(1 << 20, 'x');
  DWORD done = 0;
  for (long long i = 0; i < mib; ++i) WriteFile(file, block.data(), 1 << 20, &done, nullptr);
  CloseHandle(file);

  shredder::SorvShredX control;
  long events = 0;
  control.ShredProgress = [&](const std::wstring&, long) { ++events; };
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  control.ShredFile(path);
  QueryPerformanceCounter(&end);
  const double seconds = double(end.QuadPart - start.QuadPart) / frequency.QuadPart;
  std::printf("%lld MiB wiped in %.2f s: %.0f MiB/s over two passes, %ld progress events, %s\n",
              mib, seconds, 2 * mib / seconds, events,
              GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES ? "gone" : "STILL THERE");
  return 0;
}
