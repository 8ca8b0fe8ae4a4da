#include <gtest/gtest.h>

#include <array>

#include "FileSize.h"
#include "MountWord.h"
#include "PublicFunc.h"
#include "SavedSettings.h"
#include "SplitPath.h"
#include "TempDir.h"
#include "command.h"
#include "forms.h"

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

// Quoted, the path is one word of the mount command: 255 bytes in code page 936, where a
// Chinese character takes 2.
TEST(MountCommandCarries, QuotedPathOfUpTo255AnsiBytes) {
  const std::wstring han(64, L'盘');
  const struct {
    std::wstring path;
    bool carried;
  } rows[] = {
      {L"C:\\" + std::wstring(246, L'a') + L".cvd", true},  // 253 bytes and the quotes
      {L"C:\\" + std::wstring(247, L'a') + L".cvd", false},
      {L"C:\\" + std::wstring(123, L'盘') + L".cvd", true},  // 3 + 246 + 4
      {L"C:\\" + std::wstring(123, L'盘') + L"a.cvd", false},
      {L"C:\\" + han + L"\\" + han + L"\\盘.cvd", false},  // 267 bytes
  };
  for (auto& [path, carried] : rows) {
    EXPECT_EQ(MountCommandCarries(path), carried) << path.size();
    // The mount library's own reading of the tray's command agrees.
    WordTable table;
    const std::string line = "/mount 0 \"" + forms::ToAnsi(path) + "\" Z: " + std::string(24, 'k');
    EXPECT_EQ(ParseCommand(line.c_str(), &table).operation == Operation::Mount, carried);
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

TEST(PublicFunc, SmallHelpers) {
  EXPECT_FALSE(IsSpaceChar(L"tab\there\x3000wide"));  // only character 32 is a blank
  // A disk key: 24 Base64 characters then 8 NULs, new every time.
  const std::wstring key = RandomChar();
  EXPECT_EQ(
      key.find_first_not_of(L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/="),
      24u);
  EXPECT_EQ(key.substr(24), std::wstring(8, L'\0'));
  EXPECT_NE(RandomChar(), key);
  ULARGE_INTEGER free{};
  ASSERT_TRUE(GetDiskFreeSpaceExW(L"C:\\", &free, nullptr, nullptr));
  EXPECT_NEAR(GetDriveFreeMB(L"C:"), double(free.QuadPart) / 1048576.0, 64.0);  // it moves on
  wchar_t unused = L'Z';
  while (GetLogicalDrives() & (1u << (unused - L'A'))) --unused;
  EXPECT_EQ(GetDriveFreeMB(std::wstring{unused, L':'}), -1);
}

TEST(ListHelpers, MarkCurrentContainer) {
  SavedSettings keep{L"Path"};
  forms::Form w;  // the main window's list: icon, file name, folder
  forms::ListView list;
  w.Load();
  list.Create(w, nullptr, 0, 0, 4000, 2000);
  for (auto name : {L"", L"文件名", L"位置"}) list.AddColumn(name, 1000);
  for (auto file : {L"a.cvd", L"b.cvd", L"a.cvd"}) {
    int row = list.Add(L"", 1);
    list.SubItem(row, 1, file);
    list.SubItem(row, 2, L"C:\\box\\");
  }
  const std::pair<std::wstring, std::vector<int>> rows[] = {
      {L"C:\\box\\a.cvd", {2, 1, 2}},
      {L"C:\\BOX\\b.cvd", {1, 1, 1}},                          // case counts
      {std::wstring(L"C:\\box\\b.cvd\0junk", 17), {1, 2, 1}},  // cut at the NUL
      {L"", {1, 1, 1}},
  };
  for (auto& [path, icons] : rows) {
    SetSetting(L"Path", path);
    MarkCurrentContainer(list);
    std::vector<int> shown;
    for (int r = 1; r <= 3; ++r) shown.push_back(list.SmallIcon(r));
    EXPECT_EQ(shown, icons) << path;
  }
  w.Unload();
}

}  // namespace
