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

TEST_F(Overwrite, RightPasswordDeletesAndGoesOn) {
  ASSERT_NE(disk.Letter(), 0);
  MakeContainer("old password");
  DeleteFileW(mountLog.c_str());
  Next([&] { Type(L"old password"); });
  EXPECT_FALSE(forms::FileExists(path));
  EXPECT_EQ(GetSetting(L"Path"), path);
  EXPECT_TRUE(w.form2.Visible());
  // The driver was asked to release its guard before the file was read.
  auto lines = TakeLines(mountLog);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].substr(0, 14), "/unlockfile 0 ");
}

}  // namespace
