// An existing container at the chosen path: deleted only with its own password.
#include "ContainerMaking.h"
#include "CutAtNul.h"
#include "MappedDrive.h"
#include "SorvCtl.h"
#include "SorvLibs.h"
#include "WizardFixture.h"

namespace {

const wchar_t kAsk[] =
    L"文件已经存在，要覆盖吗？ 单击Y会覆盖存在的加密盘文件，单击N返回窗口。\r\n\r\n"
    L"提醒：覆盖文件将破坏原加密盘中所有数据，请小心操作。";
const wchar_t kWrong[] = L"密码错误，请重试！";

class Overwrite : public WizardFixture {
 protected:
  Overwrite() { drives = {FakeDrive(disk.Letter(), L"NTFS", 100000)}; }

  void MakeContainer(const std::string& password) {
    MakeFile(path, 1 << 20);
    const std::string ansi = forms::ToAnsi(path);
    ASSERT_EQ(sorvlib::CVD_InitHeader(ansi.c_str()), 0);
    SorvCtl ctl;
    ctl.SetPassword(forms::FromAnsi(password));
    ASSERT_TRUE(making::WriteDataBlock(path, 1, forms::ToAnsi(ctl.Verifier())));
  }
  // "下一步" on the drive, Yes to the question, then `inDialog` with the password dialog.
  void Next(std::function<void()> inDialog) {
    answers = {IDYES};
    WhenShown(w.form6, std::move(inDialog));
    Step1(L"10");
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes[0].prompt, kAsk);
  }
  void Type(const std::wstring& password) {
    w.form6.Text1.Text(password);
    Click(w.form6.Command1);
  }

  TempDir dir{L"wizard_overwrite"};
  MappedDrive disk{dir.path()};
  std::wstring path = disk.Drive() + L"\\Sorvane.cvd";
};

TEST_F(Overwrite, RefusedForAnythingButTheRightPassword) {
  ASSERT_NE(disk.Letter(), 0);
  WriteBytes(path, std::string(4096, 'x'));  // not a container: no verifier in it
  Next([&] { Type(L"any password"); });
  EXPECT_TRUE(Shown(kWrong));
  EXPECT_TRUE(forms::FileExists(path));

  MakeContainer("old password");
  Next([&] { Type(L"wrong password"); });
  EXPECT_TRUE(Shown(kWrong));
  EXPECT_TRUE(forms::FileExists(path));
  EXPECT_FALSE(w.form2.Visible());
}

TEST_F(Overwrite, ClosedDialogNeverReusesAnEarlierPassword) {
  ASSERT_NE(disk.Letter(), 0);
  MakeContainer("old password");
  {
    // The right password, but the file is busy: refused.
    HANDLE busy = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    Next([&] { Type(L"old password"); });
    CloseHandle(busy);
    EXPECT_TRUE(Shown(L"不能验证密码，文件可能正在使用或者被破坏，请确认后再试一遍。"));
  }
  Next([&] { SendMessageW(w.form6.hWnd(), WM_CLOSE, 0, 0); });
  EXPECT_EQ(boxes.size(), 1u);  // the question only
  EXPECT_TRUE(forms::FileExists(path));
  EXPECT_FALSE(w.form2.Visible());
}

TEST_F(Overwrite, RightPasswordGoesOnAndKeepsTheFile) {
  ASSERT_NE(disk.Letter(), 0);
  MakeContainer("old password");
  const std::string old = ReadBytes(path);
  DeleteFileW(mountLog.c_str());
  Next([&] { Type(L"old password"); });
  EXPECT_EQ(ReadBytes(path), old);
  EXPECT_EQ(GetSetting(L"Path"), L"");
  EXPECT_TRUE(w.form2.Visible());
  EXPECT_EQ(w.form1.MyText, L"");  // the old password is not kept
  // The driver was asked to release its guard before the file was read.
  auto lines = TakeLines(mountLog);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].substr(0, 14), "/unlockfile 0 ");
}

// Agreed to overwrite, then step 2 left one way or another: the old container goes only when
// the new one is made in its place, and Path names the new one only once it exists.
TEST_F(Overwrite, OldContainerStaysUntilTheNewOneIsMade) {
  ASSERT_NE(disk.Letter(), 0);
  SetEnvironmentVariableW(L"SORV_MOUNT_RESULT", L"-1");  // no drive to wait for
  const std::wstring before = L"C:\\before.cvd";
  enum class Then { Cancel, Close, SwapFileThenCreate, CreateWhereNoRenameGoes, Create };
  const struct {
    Then then;
    bool made;
  } rows[] = {{Then::Cancel, false},
              {Then::Close, false},
              {Then::SwapFileThenCreate, false},
              {Then::CreateWhereNoRenameGoes, false},
              {Then::Create, true}};
  for (auto& row : rows) {
    SCOPED_TRACE(int(row.then));
    MakeContainer("old password");
    std::string kept = ReadBytes(path);
    SetSetting(L"Path", before);
    Next([&] { Type(L"old password"); });
    ASSERT_TRUE(w.form2.Visible());
    if (row.then == Then::Cancel) Click(w.form2.Command2);
    if (row.then == Then::Close) SendMessageW(w.form2.hWnd(), WM_CLOSE, 0, 0);
    if (row.then == Then::SwapFileThenCreate) {
      // Another file moved into the checked one's place: it is not the one agreed to.
      WriteBytes(dir / L"other.cvd", kept = "another file");
      MoveFileExW((dir / L"other.cvd").c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
    }
    // A folder where the old file would step aside: it cannot make way for the new one.
    const std::wstring aside = path + wizard::kAsideSuffix;
    if (row.then == Then::CreateWhereNoRenameGoes) CreateDirectoryW(aside.c_str(), nullptr);
    if (row.then >= Then::SwapFileThenCreate) {
      w.form2.Text1.Text(L"new-password");
      w.form2.Text2.Text(L"new-password");
      Click(w.form2.Command1);
    }
    EXPECT_EQ(GetSetting(L"Path"), row.made ? path : before);
    EXPECT_EQ(w.form4.Visible(), row.made);
    if (row.then == Then::CreateWhereNoRenameGoes) {
      EXPECT_TRUE(Shown(wizard::kCannotOverwrite));
      RemoveDirectoryW(aside.c_str());
    }
    EXPECT_EQ(FilesIn(dir.path()), std::vector<std::wstring>{L"Sorvane.cvd"});
    if (!row.made) {
      EXPECT_TRUE(ReadBytes(path) == kept);  // not printed: a megabyte
      EXPECT_TRUE(w.ended);
      w.End();
      w.ended = false;
      continue;
    }
    EXPECT_EQ(ReadBytes(path).size(), 10 * MiB);
    std::string block(128, '\0');
    sorvlib::CVD_ReadDataBlock(forms::ToAnsi(path).c_str(), 1, block.data());
    SorvCtl ctl;
    ctl.SetPassword(L"new-password");
    EXPECT_EQ(CutAtNul(block), forms::ToAnsi(ctl.Verifier()));
  }
}

// A run cut short between making the new container and putting it in place: the next start
// settles what it left before the drive is listed.
TEST_F(Overwrite, NextStartSettlesWhatAReplacementLeft) {
  ASSERT_NE(disk.Letter(), 0);
  const std::wstring made = path + wizard::kMakingSuffix, aside = path + wizard::kAsideSuffix;
  const struct {
    const char *atPath, *made, *aside;  // nullptr: no file
    const char* after;                  // at path afterwards
  } rows[] = {
      {"old", "half made", nullptr, "old"},  // cut while making
      {nullptr, "whole", "old", "old"},      // cut while the old one stood aside
      {"new", nullptr, "old", "new"},        // cut once the new one was in place
  };
  for (auto& row : rows) {
    SCOPED_TRACE(row.after);
    for (auto [file, bytes] : {std::pair{path, row.atPath}, {made, row.made}, {aside, row.aside}})
      if (bytes) WriteBytes(file, bytes);
    w.form1.Show();
    EXPECT_EQ(ReadBytes(path), row.after);
    EXPECT_EQ(FilesIn(dir.path()), std::vector<std::wstring>{L"Sorvane.cvd"});
    w.form1.Unload();
    DeleteFileW(path.c_str());
  }
}

}  // namespace
