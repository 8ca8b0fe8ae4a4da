#include <gtest/gtest.h>

#include "FileSize.h"
#include "SplitPath.h"
#include "TempDir.h"

namespace {

struct Parts {
  std::wstring drive, dir, file, base, ext;
  bool operator==(const Parts&) const = default;
};

Parts Split(const std::wstring& path) {
  Parts p;
  SplitPath(path, p.drive, p.dir, p.file, p.base, p.ext);
  return p;
}

std::ostream& operator<<(std::ostream& os, const Parts& p) {
  auto n = [](const std::wstring& s) { return std::string(s.begin(), s.end()); };
  return os << n(p.drive) << "|" << n(p.dir) << "|" << n(p.file) << "|" << n(p.base) << "|"
            << n(p.ext);
}

TEST(SplitPath, Cases) {
  EXPECT_EQ(Split(L"C:\\Data\\Box\\a.b.cvd"),
            (Parts{L"C:", L"\\Data\\Box\\", L"a.b.cvd", L"a.b", L"cvd"}));
  EXPECT_EQ(Split(L"C:\\Sorvane.cvd"), (Parts{L"C:", L"\\", L"Sorvane.cvd", L"Sorvane", L"cvd"}));
  EXPECT_EQ(Split(L"\\\\server\\share\\d\\x.cvd"),
            (Parts{L"\\\\server", L"\\share\\d\\", L"x.cvd", L"x", L"cvd"}));
  EXPECT_EQ(Split(L"D:\\dir\\noext"), (Parts{L"D:", L"\\dir\\", L"noext", L"noext", L""}));
  EXPECT_EQ(Split(L"D:\\dir\\.hidden"), (Parts{L"D:", L"\\dir\\", L".hidden", L"", L"hidden"}));
  EXPECT_EQ(Split(L"D:file.cvd"), (Parts{L"D:", L"", L"file.cvd", L"file", L"cvd"}));
  EXPECT_EQ(Split(L"D:\\v1.2\\box"), (Parts{L"D:", L"\\v1.2\\", L"box", L"box", L""}));
  EXPECT_EQ(Split(L""), (Parts{}));
  EXPECT_EQ(Split(L"E:\\加密\\我的.cvd"), (Parts{L"E:", L"\\加密\\", L"我的.cvd", L"我的", L"cvd"}));
  // A bare server name has no folder or file.
  EXPECT_EQ(Split(L"\\\\server"), (Parts{L"\\\\server", L"", L"", L"", L""}));
}

TEST(GetFileSize, WholeMiBHalvesToEven) {
  TempDir dir(L"sorv_filesize");
  const long long MiB = 1 << 20;
  MakeFile(dir / L"10", 10 * MiB);
  MakeFile(dir / L"1.5", 3 * MiB / 2);
  MakeFile(dir / L"2.5", 5 * MiB / 2);
  MakeFile(dir / L"512k", MiB / 2);
  MakeFile(dir / L"512k+1", MiB / 2 + 1);
  EXPECT_EQ(GetFileSize(dir / L"10"), 10);
  EXPECT_EQ(GetFileSize(dir / L"1.5"), 2);
  EXPECT_EQ(GetFileSize(dir / L"2.5"), 2);
  EXPECT_EQ(GetFileSize(dir / L"512k"), 0);
  EXPECT_EQ(GetFileSize(dir / L"512k+1"), 1);
  EXPECT_EQ(GetFileSize(dir / L"missing"), 0);

  // Held open for writing elsewhere (as the driver holds a mounted container): in use, 0.
  HANDLE w = CreateFileW((dir / L"10").c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(w, INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetFileSize(dir / L"10"), 0);
  CloseHandle(w);
  EXPECT_EQ(GetFileSize(dir / L"10"), 10);
}

}  // namespace
