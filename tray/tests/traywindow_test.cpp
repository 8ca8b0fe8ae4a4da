// Once mounted: the tray procedure's messages and the quit.
#include "Protection.h"
#include "TrayFixture.h"

namespace {

class TrayWindowTest : public TrayFixture {
 protected:
  std::wstring drive, link;  // "X:\", the shortcut

  void SetUp() override {
    MakeContainer(path, "pw");
    SetSetting(L"HotKeyCtrl", L"1");
    SetSetting(L"HotKeyAlt", L"0");
    SetSetting(L"HotKeyShift", L"1");
    SetSetting(L"HotKeyKey", L"65");
    ASSERT_NO_FATAL_FAILURE(Show());
    tray::SendToFolder = dir.path();
    Ok(L"pw");
    ASSERT_TRUE(boxes.empty());
    // Without the mount there is no shortcut name, and the file below would be the folder.
    ASSERT_FALSE(tray::SendToLinkName.empty()) << "the click on OK did not mount";
    drive = tray::MountedDrive;
    link = dir / tray::SendToLinkName;
    WriteLink(link, drive, L"LnkOfVirtualDisk");  // the shortcut tool is recorded, not run
    icons.clear();
    MountCommands();
  }
  LRESULT Send(UINT msg, WPARAM wp, LPARAM lp) { return SendMessageW(form.hWnd(), msg, wp, lp); }
};

TEST_F(TrayWindowTest, HotKeyFromTheSettingsTogglesTheIconTaskbarRestartBringsItBack) {
  Send(WM_HOTKEY, 1, MAKELPARAM(MOD_CONTROL, 65));  // another combination: passed on
  EXPECT_TRUE(icons.empty());
  for (int press = 0; press < 3; ++press)
    Send(WM_HOTKEY, 1, MAKELPARAM(MOD_CONTROL | MOD_SHIFT, 65));
  // Off, on without a balloon and the tip naming the drive, off.
  ExpectIcons({{NIM_DELETE, 7, L"Velkiro"},
               {NIM_ADD, 7, L"Velkiro"},
               {NIM_MODIFY, 4, L"加密盘盘符为 " + drive},
               {NIM_DELETE, 7, L"Velkiro"}});
  icons.clear();
  // The old icon deleted, the new one added with its balloon, then the tip.
  Send(tray::TaskbarCreatedMsg, 0, 0);
  ExpectIcons({{NIM_DELETE, 7, L"Velkiro"},
               {NIM_ADD, 31, L"Velkiro"},
               {NIM_MODIFY, 4, L"加密盘盘符为 " + drive}},
              L"加密盘已启动，盘符为 " + drive);
  EXPECT_FALSE(form.Visible());
}

TEST_F(TrayWindowTest, DoubleClickOpensTheDriveLogOffIsRefused) {
  // The user's windir names another folder: the system's own explorer, quoted, all the same.
  wchar_t windir[MAX_PATH] = {};
  GetEnvironmentVariableW(L"windir", windir, MAX_PATH);
  SetEnvironmentVariableW(L"windir", dir.path().c_str());
  Send(tray::TrayCallbackMessage, 0, WM_LBUTTONDBLCLK);
  SetEnvironmentVariableW(L"windir", windir);
  EXPECT_EQ(starts.back().first, L"\"C:\\windows\\explorer.exe\" " + drive);

  EXPECT_EQ(Send(WM_QUERYENDSESSION, 0, LPARAM(ENDSESSION_LOGOFF)), 0);
  ExpectBox(0, L"为了保护您数据的安全，提醒您先退出Velkiro程序再选择注销。", L"注意",
            MB_ICONINFORMATION);
  EXPECT_TRUE(forms::FileExists(link));
  // A shutdown goes ahead without the shortcut, and without an unmount.
  EXPECT_NE(Send(WM_QUERYENDSESSION, 0, 0), 0);
  EXPECT_FALSE(forms::FileExists(link));
  EXPECT_TRUE(MountCommands().empty());
}

TEST_F(TrayWindowTest, HelpHandsTheProgramFoldersHelpFileToTheShell) {
  Send(WM_COMMAND, form.popHelp.Id(), 0);
  using Opened = std::vector<std::pair<std::wstring, std::wstring>>;
  // No verb: the tray menu hands the file over with an empty one.
  EXPECT_EQ(opened, (Opened{{L"", forms::AppPath() + L"\\help.chm"}}));
}

TEST_F(TrayWindowTest, OnlyOurOwnShortcutIsDeleted) {
  // What may lie under the shortcut's name in the user's folder, and whether it goes.
  const std::wstring other = drive == L"Q:\\" ? L"P:\\" : L"Q:\\";
  const struct {
    const wchar_t* target;
    const wchar_t* description;
    bool deleted;
  } rows[] = {{drive.c_str(), L"LnkOfVirtualDisk", true},
              {other.c_str(), L"LnkOfVirtualDisk", false},
              {drive.c_str(), L"another shortcut", false},
              {nullptr, nullptr, false}};  // no shortcut at all
  for (const auto& r : rows) {
    DeleteFileW(link.c_str());
    if (r.target)
      WriteLink(link, r.target, r.description);
    else
      WriteBytes(link, "a user's own file");
    Send(WM_QUERYENDSESSION, 0, 0);
    EXPECT_EQ(forms::FileExists(link), !r.deleted) << (r.description ? Ansi(r.description) : "");
  }
}

TEST_F(TrayWindowTest, QuitAsksAndAsksAgainWhileTheDriveIsBusy) {
  SetSetting(L"IsProtectFile", L"1");
  // The letter stays defined, so the drive does not go away after the unmount.
  const std::wstring letter = drive.substr(0, 2);
  ASSERT_TRUE(DefineDosDeviceW(DDD_RAW_TARGET_PATH, letter.c_str(), L"\\Device\\Null"));
  answers = {IDNO, IDYES, IDNO, IDYES, IDYES};
  Send(WM_COMMAND, form.popTrayClose.Id(), 0);
  ExpectBox(0, L"单击Y将退出程序并卸载虚拟盘，单击N将返回程序。", L"要退出程序吗？",
            MB_ICONQUESTION);
  EXPECT_TRUE(MountCommands().empty());

  Send(WM_COMMAND, form.popTrayClose.Id(), 0);
  ExpectBox(
      2,
      L"程序检测到加密盘" + drive +
          L"处于被占用状态，如果现在退出可能会丢失数据。建议您先关闭占用虚拟盘的程序再选择退出。"
          L"\r\n\r\n是否仍要现在退出程序？",
      L"Velkiro", MB_ICONQUESTION);
  EXPECT_EQ(MountCommands(), std::vector<std::string>{"/umount " + Ansi(drive)});
  EXPECT_TRUE(form.IsLoaded());
  EXPECT_TRUE(forms::FileExists(link));

  // Forced; a failed forced unmount is reported and the program ends all the same.
  SetEnvironmentVariableA("SORV_MOUNT_RESULT", "-5");
  Send(WM_COMMAND, form.popTrayClose.Id(), 0);
  DefineDosDeviceW(DDD_RAW_TARGET_PATH | DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE,
                   letter.c_str(), L"\\Device\\Null");
  ExpectBox(5, L"未知的原因使强行卸载文件失败，请检查后重新尝试一遍", L"start", 0);
  EXPECT_EQ(MountCommands(),
            (std::vector<std::string>{
                "/umount " + Ansi(drive), "/kill " + Ansi(drive),
                "/lockfile 0 " + Ansi(FreeDriveLetter()) + " \"" + Ansi(path) + "\""}));
  EXPECT_FALSE(form.IsLoaded());
  EXPECT_FALSE(forms::FileExists(link));
}

}  // namespace
