#include <gtest/gtest.h>

#include <array>

#include "FileSize.h"
#include "SplitPath.h"
#include "TempDir.h"

namespace {

TEST(SplitPath, Cases) {
  using Parts = std::array<std::wstring, 5>;  // drive, dir, file name, base name, extension
  const std::pair<const wchar_t*, Parts> rows[] = {
      {L"C:\\Data\\Box\\a.b.cvd", {L"C:", L"\\Data\\Box\\", L"a.b.cvd", L"a.b", L"cvd"}},
      {L"C:\\Sorvane.cvd", {L"C:", L"\\", L"Sorvane.cvd", L"Sorvane", L"cvd"}},
      {L"\\\\server\\share\\d\\x.cvd", {L"\\\\server", L"\\share\\d\\", L"x.cvd", L"x", L"cvd"}},
      {L"D:\\dir\\noext", {L"D:", L"\\dir\\", L"noext", L"noext", L""}},
      {L"D:\\dir\\.hidden", {L"D:", L"\\dir\\", L".hidden", L"", L"hidden"}},
      {L"D:file.cvd", {L"D:", L"", L"file.cvd", L"file", L"cvd"}},
      {L"D:\\v1.2\\box", {L"D:", L"\\v1.2\\", L"box", L"box", L""}},
      {L"", {}},
      {L"E:\\加密\\我的.cvd", {L"E:", L"\\加密\\", L"我的.cvd", L"我的", L"cvd"}},
      {L"\\\\server", {L"\\\\server", L"", L"", L"", L""}},  // a bare server name
  };
  for (auto& [path, expected] : rows) {
    Parts p;
    SplitPath(path, p[0], p[1], p[2], p[3], p[4]);
    EXPECT_EQ(p, expected) << path;
  }
}

TEST(GetFileSize, WholeMiBHalvesToEvenAndZeroWhenInUse) {
  TempDir dir(L"sorv_filesize");
  const long long MiB = 1 << 20;
  const std::pair<long long, int> rows[] = {
      {10 * MiB, 10}, {3 * MiB / 2, 2}, {5 * MiB / 2, 2}, {MiB / 2, 0}, {MiB / 2 + 1, 1}};
  for (auto [bytes, size] : rows) {
    MakeFile(dir / L"f", bytes);
    EXPECT_EQ(GetFileSize(dir / L"f"), size) << bytes;
  }
  EXPECT_EQ(GetFileSize(dir / L"missing"), 0);
  // Held open for writing elsewhere (as the driver holds a mounted container).
  HANDLE w = CreateFileW((dir / L"f").c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(GetFileSize(dir / L"f"), 0);
  CloseHandle(w);
}

}  // namespace
