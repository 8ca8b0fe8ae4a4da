// Once mounted: the tray procedure's messages, the menu's quit and the unload.
#include "Instance.h"
#include "PromptForm.h"
#include "Protection.h"
#include "TrayFixture.h"
#include "TrayWindowProc.h"

namespace {

class TrayWindowTest : public TrayFixture {
protected:
  std::wstring path = dir / L"box.cvd";
  tray::Form1 form;
  std::wstring drive;  // "X:\"
  std::wstring link;

  void SetUp() override {
    MakeContainer(path, "pw");
    SetSetting(L"Path", path);
    SetSetting(L"HotKeyCtrl", L"1");
    SetSetting(L"HotKeyAlt", L"0");
    SetSetting(L"HotKeyShift", L"1");
    SetSetting(L"HotKeyKey", L"65");
    ASSERT_TRUE(tray::TakeInstanceSemaphore());
    form.Show();
    tray::SendToFolder = dir.path();
    form.Text1.Text(L"pw");
    SendMessageW(form.Command1.hWnd(), BM_CLICK, 0, 0);
    ASSERT_TRUE(boxes.empty());
    drive = tray::MountedDrive;
    link = dir / tray::SendToLinkName;
    // The shortcut tool is recorded, not run: stand in for its file.
    MakeFile(link, 10);
    icons.clear();
    starts.clear();
    ClearMountCommands();
  }
  LRESULT Send(UINT msg, WPARAM wp, LPARAM lp) { return SendMessageW(form.hWnd(), msg, wp, lp); }
  LRESULT HotKey(UINT mods, UINT key) { return Send(WM_HOTKEY, 1, MAKELPARAM(mods, key)); }
};

TEST_F(TrayWindowTest, HotKeyHidesAndShowsTheIcon) {
  EXPECT_EQ(tray::HotKeyModifiers, UINT(MOD_CONTROL | MOD_SHIFT));
  EXPECT_EQ(tray::HotKeyVKey, 65u);

  // Another combination is passed on untouched.
  HotKey(MOD_CONTROL, 65);
  EXPECT_TRUE(icons.empty());

  HotKey(MOD_CONTROL | MOD_SHIFT, 65);
  ASSERT_EQ(icons.size(), 1u);
  EXPECT_EQ(icons[0].message, DWORD(NIM_DELETE));
  EXPECT_EQ(icons[0].data.uFlags, 7u);
  EXPECT_FALSE(tray::TrayIconShown);

  icons.clear();
  HotKey(MOD_CONTROL | MOD_SHIFT, 65);
  ASSERT_EQ(icons.size(), 2u);
  EXPECT_EQ(icons[0].message, DWORD(NIM_ADD));
  EXPECT_EQ(icons[0].data.uFlags, 7u);
  EXPECT_EQ(icons[0].Tip(), "Velkiro");
  EXPECT_EQ(icons[0].Info(), "");
  EXPECT_EQ(icons[1].message, DWORD(NIM_MODIFY));
  EXPECT_EQ(icons[1].Tip(), Ansi(L"加密盘盘符为 " + drive));
  EXPECT_TRUE(tray::TrayIconShown);
  EXPECT_TRUE(boxes.empty());

  // Hidden, then the taskbar comes back: the icon returns with its balloon, the state stays.
  HotKey(MOD_CONTROL | MOD_SHIFT, 65);
  icons.clear();
  Send(tray::TaskbarCreatedMsg, 0, 0);
  ASSERT_EQ(icons.size(), 3u);
  EXPECT_EQ(icons[0].message, DWORD(NIM_DELETE));
  EXPECT_EQ(icons[1].message, DWORD(NIM_ADD));
  EXPECT_EQ(icons[1].data.uFlags, 31u);
  EXPECT_EQ(icons[1].Info(), Ansi(L"加密盘已启动，盘符为 " + drive));
  EXPECT_EQ(icons[2].Tip(), Ansi(L"加密盘盘符为 " + drive));
  EXPECT_FALSE(tray::TrayIconShown);
  EXPECT_FALSE(form.Visible());
  form.Unload();
}

TEST_F(TrayWindowTest, MouseOnTheIcon) {
  Send(tray::TrayCallbackMessage, 0, WM_LBUTTONDOWN);
  Send(tray::TrayCallbackMessage, 0, WM_MOUSEMOVE);
  Send(tray::TrayCallbackMessage, 0, WM_RBUTTONDOWN);
  EXPECT_TRUE(starts.empty());
  Send(tray::TrayCallbackMessage, 0, WM_LBUTTONDBLCLK);
  ASSERT_EQ(starts.size(), 1u);
  wchar_t windir[MAX_PATH];
  GetEnvironmentVariableW(L"windir", windir, MAX_PATH);
  EXPECT_EQ(starts[0].commandLine, std::wstring(windir) + L"\\explorer.exe " + drive);
  EXPECT_EQ(starts[0].style, forms::WindowStyle::NormalFocus);

  // The menu's items reach the form's handlers through the tray procedure.
  Send(WM_COMMAND, form.popOpenSorvDesk.Id(), 0);
  ASSERT_EQ(starts.size(), 2u);
  EXPECT_EQ(starts[1].commandLine, forms::AppPath() + L"\\SorvDesk.exe");
  Send(WM_COMMAND, form.popAbout.Id(), 0);
  Send(WM_COMMAND, form.popAbout.Id(), 0);
  EXPECT_TRUE(form.about.Visible());
  EXPECT_EQ(form.about.Caption(), L"关于“Velkiro”");
  EXPECT_EQ(form.about.Label4.Caption(), L"版本：1.27");
  int abouts = 0;
  for (auto* f : forms::Forms()) abouts += f == &form.about;
  EXPECT_EQ(abouts, 1);
  form.Unload();
  EXPECT_FALSE(form.about.IsLoaded());
}

TEST_F(TrayWindowTest, LogOffIsRefusedShutdownDropsTheShortcut) {
  EXPECT_EQ(Send(WM_QUERYENDSESSION, 0, LPARAM(ENDSESSION_LOGOFF)), 0);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].prompt, L"为了保护您数据的安全，提醒您先退出Velkiro程序再选择注销。");
  EXPECT_EQ(boxes[0].title, L"注意");
  EXPECT_EQ(boxes[0].Icon(), UINT(MB_ICONINFORMATION));
  EXPECT_TRUE(forms::FileExists(link));

  EXPECT_NE(Send(WM_QUERYENDSESSION, 0, 0), 0);
  EXPECT_FALSE(forms::FileExists(link));
  EXPECT_TRUE(MountCommands().empty());  // no unmount at shutdown
  form.Unload();
}

TEST_F(TrayWindowTest, QuitNoKeepsEverythingYesUnmountsAndGuards) {
  SetSetting(L"IsProtectFile", L"1");
  answers = {IDNO};
  Send(WM_COMMAND, form.popTrayClose.Id(), 0);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].prompt, L"单击Y将退出程序并卸载虚拟盘，单击N将返回程序。");
  EXPECT_EQ(boxes[0].title, L"要退出程序吗？");
  EXPECT_EQ(boxes[0].Icon(), UINT(MB_ICONQUESTION));
  EXPECT_EQ(boxes[0].Buttons(), UINT(MB_YESNO));
  EXPECT_TRUE(MountCommands().empty());
  EXPECT_TRUE(form.IsLoaded());

  answers = {IDYES};
  Send(WM_COMMAND, form.popTrayClose.Id(), 0);
  EXPECT_FALSE(form.IsLoaded());
  EXPECT_FALSE(forms::FileExists(link));
  auto sent = MountCommands();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0], "/umount " + Ansi(drive));
  EXPECT_EQ(sent[1], "/lockfile 0 " + Ansi(FreeDriveLetter()) + " \"" + Ansi(path) + "\"");
  ASSERT_FALSE(icons.empty());
  EXPECT_EQ(icons.back().message, DWORD(NIM_DELETE));
  EXPECT_EQ(icons.back().data.uFlags, 7u);
  // The semaphore is free and the hot key went with the window.
  HANDLE other = CreateSemaphoreA(nullptr, 1, 1, "Sorvane");
  EXPECT_EQ(WaitForSingleObject(other, 0), WAIT_OBJECT_0);
  CloseHandle(other);
  EXPECT_TRUE(RegisterHotKey(nullptr, 7, MOD_CONTROL | MOD_SHIFT, 65));
  UnregisterHotKey(nullptr, 7);
}

TEST_F(TrayWindowTest, BusyDriveAsksBeforeTheForcedUnmount) {
  // The drive letter stays defined: the unmount is recorded, not done.
  std::wstring letter = drive.substr(0, 2);
  ASSERT_TRUE(DefineDosDeviceW(DDD_RAW_TARGET_PATH, letter.c_str(), L"\\Device\\Null"));
  answers = {IDYES, IDNO};
  form.IsQuit();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[1].prompt, L"程序检测到加密盘" + drive +
                                 L"处于被占用状态，如果现在退出可能会丢失数据。建议您先关闭占用虚拟盘的程序再选择退出。\r\n\r\n是否仍要现在退出程序？");
  EXPECT_EQ(boxes[1].title, L"Velkiro");
  EXPECT_EQ(boxes[1].Buttons(), UINT(MB_YESNO));
  EXPECT_TRUE(form.IsLoaded());
  EXPECT_TRUE(forms::FileExists(link));

  boxes.clear();
  ClearMountCommands();
  SetEnv("SORV_MOUNT_RESULT", "-5");
  answers = {IDYES, IDYES};
  form.IsQuit();
  DefineDosDeviceW(DDD_RAW_TARGET_PATH | DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE,
                   letter.c_str(), L"\\Device\\Null");
  auto sent = MountCommands();
  ASSERT_GE(sent.size(), 2u);
  EXPECT_EQ(sent[0], "/umount " + Ansi(drive));
  EXPECT_EQ(sent[1], "/kill " + Ansi(drive));
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[2].prompt, L"未知的原因使强行卸载文件失败，请检查后重新尝试一遍");
  EXPECT_EQ(boxes[2].title, L"start");
  EXPECT_FALSE(form.IsLoaded());  // ends all the same
  EXPECT_FALSE(forms::FileExists(link));
}

}  // namespace
