// The OK button: what is stored, every refusal in its order, and the mount itself.
#include "DriveChoice.h"
#include "TrayFixture.h"

namespace {

using MountTest = TrayFixture;

const wchar_t kUnreadable[] =
    L"不能读取密码，加密盘文件可能当前被占用、被保护或者被破坏，确认后重试一次。";
const wchar_t kBadHeader[] =
    L"无法读取加密盘文件。可能的原因可能是文件被损坏或者仍旧处于保护状态或者是老版本的文件，"
    L"请确认后重试。";
const wchar_t kWrongPassword[] = L"您输入的密码不对，请重新输入";

TEST_F(MountTest, RefusalsComeInOrderAndKeepThePrompt) {
  MakeContainer(path, "right pass");
  Show();
  const struct {
    const wchar_t* file;
    const char *magic, *failBlock;  // the header's first bytes, the block whose read fails
    int autostart;
    const wchar_t *password, *text, *title;
    UINT icon;
  } rows[] = {
      {L"gone.cvd", "SR", nullptr, 1, L"right pass",
       L"在当前路径下没有找到加密盘文件，请先确认文件还存在", L"错误", MB_ICONERROR},
      {L"box.cvd", "XX", nullptr, 0, L"right pass", kBadHeader, L"错误", MB_ICONERROR},
      // Block 1 is read before the empty password box is looked at.
      {L"box.cvd", "SR", "1", 1, L"", kUnreadable, L"注意", MB_ICONINFORMATION},
      {L"box.cvd", "SR", nullptr, 1, L"", L"请输入密码！", L"注意", MB_ICONEXCLAMATION},
      {L"box.cvd", "SR", nullptr, 1, L"RIGHT PASS", kWrongPassword, L"错误", MB_ICONEXCLAMATION},
      {L"box.cvd", "SR", "2", 0, L"right pass", kUnreadable, L"注意", MB_ICONINFORMATION},
      // Two faults at once: the earlier check speaks.
      {L"box.cvd", "XX", nullptr, 0, L"", kBadHeader, L"错误", MB_ICONERROR},
      {L"box.cvd", "XX", nullptr, 1, L"wrong pass", kBadHeader, L"错误", MB_ICONERROR},
      {L"box.cvd", "SR", "2", 1, L"wrong pass", kWrongPassword, L"错误", MB_ICONEXCLAMATION}};
  for (auto& r : rows) {
    SCOPED_TRACE(r.text);
    SetSetting(L"Path", dir / r.file);
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD n;
    WriteFile(h, r.magic, 2, &n, nullptr);
    CloseHandle(h);
    SetEnvironmentVariableA("SORV_BLOCK_READ_FAIL", r.failBlock);
    form.Check1.Value(r.autostart);
    Ok(r.password);
    ASSERT_EQ(boxes.size(), 1u);
    ExpectBox(0, r.text, r.title, r.icon);
    EXPECT_EQ(boxes[0].Buttons(), UINT(MB_OK));
    EXPECT_TRUE(form.Visible());
    EXPECT_EQ(form.Text1.Text(), r.password);
    EXPECT_TRUE(MountCommands().empty());
    EXPECT_TRUE(icons.empty());
    // Autostart and IsAutoMount are stored before any check.
    EXPECT_EQ(GetSetting(L"IsAutoMount"), r.autostart ? L"1" : L"0");
    // Quoted, and a logon task that starts the program with administrator rights.
    EXPECT_EQ(GetRegValue(HKEY_CURRENT_USER, AutostartRunKey, SRStartValue),
              r.autostart ? L"\"" + forms::AppPath() + L"\\start.exe\"" : L"");
    ASSERT_EQ(tasks.size(), 1u);
    EXPECT_EQ(tasks[0].first, LogonTaskName(L"SRStart"));
    for (const wchar_t* part :
         {L"<LogonTrigger><Enabled>true</Enabled><UserId>", L"<LogonType>InteractiveToken<",
          L"<RunLevel>HighestAvailable</RunLevel>", L"<ExecutionTimeLimit>PT0S<"})
      EXPECT_EQ(tasks[0].second.find(part) != std::wstring::npos, r.autostart == 1);
    EXPECT_EQ(tasks[0].second.find(L"<Command>\"" + forms::AppPath() + L"\\start.exe\"</Command>") !=
                  std::wstring::npos,
              r.autostart == 1);
    tasks.clear();
  }
  // So is the drive, with the automatic entry's blank.
  wchar_t stored[64] = {};
  DWORD size = sizeof stored;
  RegGetValueW(HKEY_LOCAL_MACHINE, SettingsKey, L"DriveLetter", RRF_RT_REG_SZ, nullptr, stored,
               &size);
  EXPECT_STREQ(stored, tray::AutoDrive);

  SetEnvironmentVariableA("SORV_BLOCK_READ_FAIL", nullptr);
  SetEnvironmentVariableA("SORV_MOUNT_RESULT", "65535");  // -1 as a 16-bit number
  Ok(L"right pass");
  ExpectBox(0, L"未知的原因使加载文件失败，请检查后重新尝试一遍", L"start", 0);
  EXPECT_TRUE(form.Visible());
  EXPECT_TRUE(icons.empty());
  MountCommands();

  // A damaged block 2 unwraps to no key: refused rather than mounted with it.
  ASSERT_EQ(sorvlib::CVD_WriteDataBlock(Ansi(path).c_str(), 2, "AAAAAAAAAAAAAAAAAAAAAA=="), 0);
  Ok(L"right pass");
  ExpectBox(0, kUnreadable, L"注意", MB_ICONINFORMATION);
  EXPECT_TRUE(MountCommands().empty());
}

TEST_F(MountTest, AutostartOnlyFromTheInstalledProgram) {
  MakeContainer(path, "right pass");
  Show();
  TempDir installed(L"tray_installed");
  SetSetting(InstallFolderValue, installed.path());
  SetSetting(L"IsAutoMount", L"0");
  DeleteRegValue(HKEY_CURRENT_USER, AutostartRunKey, SRStartValue);
  form.Check1.Value(1);
  Ok(L"wrong pass");
  ASSERT_EQ(boxes.size(), 2u);
  ExpectBox(0,
            L"没有设置开机自动运行：只有从安装目录启动的程序才能设置开机自动运行。请从安装目录启动"
            L"本程序后再设置。",
            L"注意", MB_ICONEXCLAMATION);
  ExpectBox(1, kWrongPassword, L"错误", MB_ICONEXCLAMATION);
  EXPECT_EQ(GetRegValue(HKEY_CURRENT_USER, AutostartRunKey, SRStartValue), L"");
  EXPECT_TRUE(tasks.empty());
  EXPECT_EQ(GetSetting(L"IsAutoMount"), L"0");
}

TEST_F(MountTest, NoFreeLetterSendsNoMountCommand) {
  MakeContainer(path, "pw");
  const std::vector<std::wstring> taken = tray::FreeDriveLetters();
  for (auto& d : taken) DefineDosDeviceW(DDD_RAW_TARGET_PATH, d.c_str(), L"\\Device\\Null");
  Show();
  Ok(L"pw");
  for (auto& d : taken)
    DefineDosDeviceW(DDD_RAW_TARGET_PATH | DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE,
                     d.c_str(), L"\\Device\\Null");
  ExpectBox(0, L"没有可用的盘符，无法加载加密盘。请先释放一个盘符再重试。", L"注意",
            MB_ICONEXCLAMATION);
  EXPECT_TRUE(MountCommands().empty());
  EXPECT_TRUE(form.Visible());
}

TEST_F(MountTest, MountOnTheHighestFreeLetterThenTray) {
  CreateDirectoryW((dir / L"my data").c_str(), nullptr);
  path = dir / L"my data\\加密 盘.cvd";
  const std::string key = MakeContainer(path, "right pass");
  Show();
  tray::SendToFolder = dir.path();
  const std::wstring last = tray::FreeDriveLetters().back(), root = last + L"\\";
  Ok(L"right pass");
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(form.Text1.Text(), L"");  // the hidden window keeps no password
  // Five words, the path quoted, the 16 key characters and nothing of the buffer's NULs.
  EXPECT_EQ(MountCommands(),
            std::vector<std::string>{"/mount 0 \"" + Ansi(path) + "\" " + Ansi(last) + " " + key});

  // Hidden; the icon with its balloon, then the tip naming the drive.
  EXPECT_FALSE(form.Visible());
  ExpectIcons({{NIM_ADD, 31, L"Velkiro"}, {NIM_MODIFY, 4, L"加密盘盘符为 " + last}},
              L"加密盘已启动，盘符为 " + last);
  EXPECT_FALSE(RegisterHotKey(nullptr, 7, MOD_CONTROL | MOD_ALT, VK_F12));  // no settings: taken
  // The shortcut tool, hidden, for the drive's root; its path quoted, as the installed
  // folder has blanks.
  EXPECT_EQ(starts, (decltype(starts){{L"\"" + forms::AppPath() + L"\\SorvLink.exe\" " + root +
                                           L" \"" + dir.path() + L"\\加密盘" + last.substr(0, 1) +
                                           L".lnk\" LnkOfVirtualDisk",
                                       forms::WindowStyle::Hide}}));
}

TEST_F(MountTest, MountOnAChosenLetter) {
  const std::string key = MakeContainer(path, "pw");
  Show();
  const std::wstring chosen = tray::FreeDriveLetters().front();  // not the automatic choice
  for (int i = 0; i < form.Combo1.ListCount(); ++i)
    if (form.Combo1.List(i) == chosen) form.Combo1.ListIndex(i);
  ASSERT_EQ(form.Combo1.Text(), chosen);
  Ok(L"pw");
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(MountCommands(), std::vector<std::string>{"/mount 0 \"" + Ansi(path) + "\" " +
                                                      Ansi(chosen) + " " + key});
  EXPECT_EQ(GetSetting(L"DriveLetter"), chosen);
  EXPECT_EQ(tray::MountedDrive, chosen + L"\\");
}

TEST_F(MountTest, NoSendToFolderNoShortcut) {
  MakeContainer(path, "pw");
  Show();
  tray::SendToFolder.clear();
  Ok(L"pw");
  EXPECT_TRUE(boxes.empty());
  EXPECT_TRUE(starts.empty());  // rather than a shortcut at "\加密盘X.lnk"
}

}  // namespace
