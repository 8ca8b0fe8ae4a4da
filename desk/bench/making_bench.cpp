// How long a new container takes: a 1 GiB one on the sparse path and a 64 MiB one with the
// zero fill, each with its header, wrapped key and verifier, as the create dialog makes them.
// Run it from the program folder (it needs SorvSparse.exe and the libraries beside it):
//   wine build/windows/bin/making_bench.exe [folder]
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "ContainerMaking.h"
#include "SorvCtl.h"
#include "forms.h"

namespace {

struct Quiet : making::Progress {
  void Percent(int) override {}
};

double Make(const std::wstring& path, int32_t mib, bool sparse) {
  DeleteFileW(path.c_str());
  Quiet quiet;
  const auto start = std::chrono::steady_clock::now();
  const making::FileResult made =
      sparse ? making::MakeSparseFile(making::SparseProgram(), path, mib, quiet)
             : making::WriteZeroFile(path, mib, quiet);
  SorvCtl ctl;
  ctl.SetPassword(L"bench password");
  const bool ok = made == making::FileResult::Made && making::InitHeader(path) &&
                  making::WriteDataBlock(path, 2, making::NewWrappedKey(L"bench password")) &&
                  making::WriteDataBlock(path, 1, forms::ToAnsi(ctl.Verifier()));
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  DeleteFileW(path.c_str());
  return ok ? seconds : -1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = argc > 1 ? argv[1] : temp;
  const double sparse = Make(folder + L"\\bench-sparse.cvd", 1024, true);
  const double zero = Make(folder + L"\\bench-zero.cvd", 64, false);
  std::printf("1 GiB container, sparse path: %.3f s (goal: under 2 s)\n", sparse);
  std::printf("64 MiB container, zero fill:  %.3f s\n", zero);
  return sparse < 0 || zero < 0;
}
