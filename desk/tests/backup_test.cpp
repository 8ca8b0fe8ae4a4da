// BackupForm: copy and move, the refusals before the shell, and what a failed shell leaves.
#include "BackupDialog.h"
#include "DialogFixture.h"
#include "ShellFiles.h"

namespace {

class BackupTest : public DialogFixture {
 protected:
  void SetUp() override {
    for (const auto& p : {first, box, last}) {
      MakeContainer(p, L"backup pw", kBytes);
      List(p);
    }
    main.ListView1.Select(2);
    source = ReadBytes(box);
  }
  bool Backup(const std::wstring& target, bool move, const wchar_t* password = L"backup pw") {
    desk::BackupForm form(main.ListView1, [this] { ++main.removals; });
    form.Load();
    form.Text1.Text(target);
    form.Text2.Text(password);
    form.Check1.Value(move ? 1 : 0);
    Click(form.Command1);
    bool closed = !form.IsLoaded();
    if (!closed) form.Unload();
    return closed;
  }
  // A drive made by small-drives.sh around the test, with exactly `bytes` free; false (and
  // the case skipped) where the machine could not make it.
  static bool SmallDrive(const wchar_t* root, uint64_t bytes) {
    ULARGE_INTEGER free{};
    return GetDiskFreeSpaceExW(root, &free, nullptr, nullptr) && free.QuadPart == bytes;
  }
  void ExpectUnchanged() {
    EXPECT_EQ(ReadBytes(box), source);
    EXPECT_EQ(Listed(), (std::vector<std::wstring>{first, box, last}));
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{first, box, last}));
  }

  static constexpr long long kBytes = 2 << 20;
  const std::wstring first = dir / L"first.cvd", box = dir / L"box.cvd", last = dir / L"last.cvd";
  std::string source;
};

TEST_F(BackupTest, RefusedBeforeTheShell) {
  MakeFile(dir / L"taken.cvd", 5);
  CreateDirectoryW((dir / L"folder").c_str(), nullptr);
  struct Case {
    std::wstring target;
    const wchar_t* password;
    std::wstring message;
    const wchar_t* title;
    UINT icon;
  };
  const Case cases[] = {
      {dir / L"x.cvd", L"", L"请输入要备份加密盘的密码", L"提醒", MB_ICONINFORMATION},
      {dir / L"x.cvd", L"wrong", L"您输入的密码有误，请重新输入", L"注意", MB_ICONERROR},
      {L"", L"backup pw", L"目标文件为空，请先选择目标文件的路径。", L"注意", MB_ICONINFORMATION},
      {L"\\\\server\\share\\x.cvd", L"backup pw", L"你指定的目标空间不足，请更换目标磁盘。",
       L"注意", MB_ICONINFORMATION},
      {dir / L"taken.cvd", L"backup pw",
       L"你选择的文件夹里已经存在 taken.cvd ,请更换文件名或者更换文件夹", L"注意", MB_ICONERROR},
      {dir / L"folder", L"backup pw",
       L"你选择的文件夹里已经存在 folder ,请更换文件名或者更换文件夹", L"注意", MB_ICONERROR},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(Backup(c.target, true, c.password));
    ExpectBox(0, c.message, c.title, c.icon);
  }
  EXPECT_EQ(ReadBytes(dir / L"taken.cvd"), std::string(5, '\0'));
  EXPECT_FALSE(forms::FileExists(dir / L"x.cvd"));
  ExpectUnchanged();
}

TEST_F(BackupTest, CopyKeepsTheListMoveTakesTheRow) {
  const std::wstring copy = dir / L"copy", moved = dir / L"moved.cvd";
  SetSetting(L"Path", box);  // the current container: Path follows it when it moves
  ASSERT_TRUE(Backup(copy, false));
  EXPECT_EQ(GetSetting(L"Path"), box);
  ExpectBox(0, L"备份成功！", L"恭喜", MB_ICONINFORMATION);
  EXPECT_EQ(ReadBytes(copy), source);  // the name is used as given, with no extension added
  ExpectUnchanged();

  ASSERT_TRUE(Backup(moved, true));
  EXPECT_EQ(ReadBytes(moved), source);
  EXPECT_FALSE(forms::FileExists(box));
  EXPECT_EQ(Listed(), (std::vector<std::wstring>{first, last}));
  EXPECT_EQ(Rows(), (std::vector<std::wstring>{first, last}));
  EXPECT_EQ(main.removals, 1);
  EXPECT_EQ(GetSetting(L"Path"), moved);
}

// A shell that says it copied while the target came out short, as a full disk can leave it.
TEST_F(BackupTest, AShortCopyReportedAsDoneFails) {
  const std::wstring target = dir / L"short.cvd";
  desk::ShellOperation shell = desk::SetShellOperation([](SHFILEOPSTRUCTW& op) {
    SHFileOperationW(&op);
    // Not std::filesystem::resize_file: the runtime's truncate first measures the volume's
    // free space, and once under load threw "File too large" while shortening.
    HANDLE copy = CreateFileW(op.pTo, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    LARGE_INTEGER half{};
    half.QuadPart = kBytes / 2;
    EXPECT_TRUE(SetFilePointerEx(copy, half, nullptr, FILE_BEGIN) && SetEndOfFile(copy));
    CloseHandle(copy);
    op.fAnyOperationsAborted = FALSE;
    return 0;
  });
  EXPECT_FALSE(Backup(target, false));
  desk::SetShellOperation(shell);
  ExpectBox(0, L"备份失败", L"注意", MB_ICONINFORMATION);
  EXPECT_FALSE(forms::FileExists(target));
  ExpectUnchanged();
}

// M: is a 2 MiB tmpfs; N: a folder whose "inner" is a 1 MiB tmpfs (small-drives.sh).
TEST_F(BackupTest, SmallDrives) {
  if (!SmallDrive(L"M:\\", kBytes) || !SmallDrive(L"N:\\inner\\", 1 << 20))
    GTEST_SKIP() << "no tmpfs drives M: and N: here (they need root)";
  // Exactly as much free as the container needs.
  ASSERT_TRUE(Backup(L"M:\\exact.cvd", false));
  EXPECT_EQ(ReadBytes(L"M:\\exact.cvd"), source);
  // Now M: has no room left: refused before the shell runs.
  EXPECT_FALSE(Backup(L"M:\\more.cvd", true));
  ExpectBox(0, L"你指定的目标空间不足，请更换目标磁盘。", L"注意", MB_ICONINFORMATION);
  EXPECT_FALSE(forms::FileExists(L"M:\\more.cvd"));
  // N: itself has room, its folder "inner" has not: the shell's move breaks off (and may say
  // it succeeded); nothing is left behind and the container stays where and as it was.
  EXPECT_FALSE(Backup(L"N:\\inner\\moved.cvd", true));
  ExpectBox(0, L"备份失败", L"注意", MB_ICONINFORMATION);
  EXPECT_FALSE(forms::FileExists(L"N:\\inner\\moved.cvd"));
  ExpectUnchanged();
  DeleteFileW(L"M:\\exact.cvd");
}

}  // namespace
