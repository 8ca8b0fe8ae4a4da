// The OK button: what is stored, every refusal in its order, and the mount itself.
#include "DriveChoice.h"
#include "PromptForm.h"
#include "TrayFixture.h"
#include "TrayWindowProc.h"

namespace {

class MountTest : public TrayFixture {
protected:
  std::wstring path = dir / L"box.cvd";
  std::string key;
  tray::Form1 form;

  void Load() {
    SetSetting(L"Path", path);
    form.Show();
    ASSERT_FALSE(tray::ProgramEnded);
    ClearMountCommands();
  }
  void Ok(const std::wstring& password) {
    form.Text1.Text(password);
    boxes.clear();
    SendMessageW(form.Command1.hWnd(), BM_CLICK, 0, 0);
  }
  void WriteMagic(const char* magic) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD n;
    WriteFile(h, magic, 2, &n, nullptr);
    CloseHandle(h);
  }
  // One refusal: the message, the prompt still there with the password, nothing mounted.
  void ExpectRefused(const std::wstring& password, const std::wstring& text,
                     const std::wstring& title, UINT icon) {
    ASSERT_EQ(boxes.size(), 1u) << Ansi(text);
    EXPECT_EQ(boxes[0].prompt, text);
    EXPECT_EQ(boxes[0].title, title);
    EXPECT_EQ(boxes[0].Icon(), icon);
    EXPECT_EQ(boxes[0].Buttons(), UINT(MB_OK));
    EXPECT_TRUE(form.Visible());
    EXPECT_EQ(form.Text1.Text(), password);
    for (auto& c : MountCommands()) EXPECT_NE(c.rfind("/mount", 0), 0u) << c;
    EXPECT_TRUE(icons.empty());
    EXPECT_EQ(tray::OldWindowProc, nullptr);
  }
};

// The stored text as it is (the registry module trims blanks when reading).
std::wstring RawSetting(const wchar_t* name) {
  wchar_t value[256] = {};
  DWORD size = sizeof value;
  RegGetValueW(HKEY_LOCAL_MACHINE, SettingsKey, name, RRF_RT_REG_SZ, nullptr, value, &size);
  return value;
}

const wchar_t kBlockUnreadable[] =
    L"不能读取密码，加密盘文件可能当前被占用、被保护或者被破坏，确认后重试一次。";

TEST_F(MountTest, RefusalsComeInOrderAndKeepThePrompt) {
  key = MakeContainer(path, "right pass");
  Load();
  DeleteRegValue(HKEY_LOCAL_MACHINE, SettingsKey, L"DriveLetter");
  form.Check1.Value(1);

  // 1. The file went away after the prompt opened; the choices are stored all the same.
  MoveFileW(path.c_str(), (dir / L"moved.cvd").c_str());
  Ok(L"right pass");
  ExpectRefused(L"right pass", L"在当前路径下没有找到加密盘文件，请先确认文件还存在", L"错误",
                MB_ICONERROR);
  EXPECT_EQ(RawSetting(L"DriveLetter"), tray::AutoDrive);  // with its blank
  EXPECT_EQ(GetSetting(L"IsAutoMount"), L"1");
  EXPECT_EQ(GetRegValue(HKEY_CURRENT_USER, AutostartRunKey, SRStartValue),
            forms::AppPath() + L"\\start.exe");
  MoveFileW((dir / L"moved.cvd").c_str(), path.c_str());

  // 2. A header that is not ours.
  WriteMagic("XX");
  form.Check1.Value(0);
  Ok(L"right pass");
  ExpectRefused(L"right pass",
                L"无法读取加密盘文件。可能的原因可能是文件被损坏或者仍旧处于保护状态或者是老版本的文件，请确认后重试。",
                L"错误", MB_ICONERROR);
  EXPECT_EQ(GetSetting(L"IsAutoMount"), L"0");
  DWORD type = 0;
  GetRegValue(HKEY_CURRENT_USER, AutostartRunKey, SRStartValue, type);
  EXPECT_EQ(type, 0u);
  WriteMagic("SR");

  // 3. Block 1 unreadable: reported before the empty password box.
  SetEnv("SORV_BLOCK_READ_FAIL", "1");
  Ok(L"");
  ExpectRefused(L"", kBlockUnreadable, L"注意", MB_ICONINFORMATION);
  SetEnv("SORV_BLOCK_READ_FAIL", nullptr);

  // 4. The empty box, once block 1 was read.
  Ok(L"");
  ExpectRefused(L"", L"请输入密码！", L"注意", MB_ICONEXCLAMATION);

  // 5. A wrong password; the comparison minds case.
  Ok(L"RIGHT PASS");
  ExpectRefused(L"RIGHT PASS", L"您输入的密码不对，请重新输入", L"错误", MB_ICONEXCLAMATION);

  // 6. Block 2 unreadable with the right password.
  SetEnv("SORV_BLOCK_READ_FAIL", "2");
  Ok(L"right pass");
  ExpectRefused(L"right pass", kBlockUnreadable, L"注意", MB_ICONINFORMATION);
  SetEnv("SORV_BLOCK_READ_FAIL", nullptr);

  // 7. The mount library fails (65535 is -1 as a 16-bit number).
  SetEnv("SORV_MOUNT_RESULT", "65535");
  Ok(L"right pass");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].prompt, L"未知的原因使加载文件失败，请检查后重新尝试一遍");
  EXPECT_EQ(boxes[0].title, L"start");
  EXPECT_EQ(boxes[0].Icon(), 0u);
  EXPECT_TRUE(form.Visible());
  EXPECT_TRUE(icons.empty());
  form.Unload();
}

TEST_F(MountTest, NoFreeLetterSendsNoMountCommand) {
  key = MakeContainer(path, "right pass");
  std::vector<std::wstring> taken = tray::FreeDriveLetters();
  for (auto& d : taken) DefineDosDeviceW(DDD_RAW_TARGET_PATH, d.c_str(), L"\\Device\\Null");
  Load();
  EXPECT_EQ(form.Combo1.ListCount(), 1);
  Ok(L"right pass");
  for (auto& d : taken)
    DefineDosDeviceW(DDD_RAW_TARGET_PATH | DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE,
                     d.c_str(), L"\\Device\\Null");
  ExpectRefused(L"right pass", L"没有可用的盘符，无法加载加密盘。请先释放一个盘符再重试。",
                L"注意", MB_ICONEXCLAMATION);
  form.Unload();
}

TEST_F(MountTest, MountOnTheHighestFreeLetterThenTray) {
  CreateDirectoryW((dir / L"my data").c_str(), nullptr);
  path = dir / L"my data\\加密 盘.cvd";
  key = MakeContainer(path, "right pass");
  Load();
  tray::SendToFolder = dir.path();
  DeleteRegValue(HKEY_LOCAL_MACHINE, SettingsKey, L"HotKeyConfig");
  const std::wstring last = tray::FreeDriveLetters().back();
  ASSERT_EQ(form.Combo1.Text(), tray::AutoDrive);
  Ok(L"right pass");
  EXPECT_TRUE(boxes.empty());

  // Five words, the path quoted, the 16 key characters and nothing of the buffer's NULs.
  auto sent = MountCommands();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0], "/mount 0 \"" + Ansi(path) + "\" " + Ansi(last) + " " + key);
  EXPECT_EQ(key.size(), 16u);

  // Hidden, icon with its balloon, tip naming the drive.
  EXPECT_FALSE(form.Visible());
  ASSERT_EQ(icons.size(), 2u);
  EXPECT_EQ(icons[0].message, DWORD(NIM_ADD));
  const NOTIFYICONDATAA& first = icons[0].data;
  EXPECT_EQ(first.cbSize, DWORD(NOTIFYICONDATAA_V2_SIZE));
  EXPECT_EQ(first.hWnd, form.hWnd());
  EXPECT_EQ(first.uID, 0u);
  EXPECT_EQ(first.uFlags, 31u);
  EXPECT_EQ(first.uCallbackMessage, 1025u);
  EXPECT_NE(first.hIcon, nullptr);
  EXPECT_EQ(icons[0].Tip(), "Velkiro");
  EXPECT_EQ(icons[0].Info(), Ansi(L"加密盘已启动，盘符为 " + last));
  EXPECT_STREQ(first.szInfoTitle, "Velkiro");
  EXPECT_EQ(first.uTimeout, 10000u);
  EXPECT_EQ(first.dwInfoFlags, 1u);
  EXPECT_EQ(icons[1].message, DWORD(NIM_MODIFY));
  EXPECT_EQ(icons[1].data.uFlags, 4u);
  EXPECT_EQ(icons[1].Tip(), Ansi(L"加密盘盘符为 " + last));

  // The tray procedure sits in front of the form's own.
  EXPECT_EQ(GetWindowLongPtrW(form.hWnd(), GWLP_WNDPROC),
            reinterpret_cast<LONG_PTR>(&tray::TrayWindowProc));
  EXPECT_NE(tray::OldWindowProc, nullptr);

  // Ctrl+Alt+F12 with no settings, and taken: nobody else gets it now.
  EXPECT_EQ(tray::HotKeyId, 1);
  EXPECT_EQ(tray::HotKeyModifiers, UINT(MOD_CONTROL | MOD_ALT));
  EXPECT_EQ(tray::HotKeyVKey, UINT(VK_F12));
  EXPECT_TRUE(tray::TrayIconShown);
  EXPECT_FALSE(RegisterHotKey(nullptr, 7, MOD_CONTROL | MOD_ALT, VK_F12));

  // The shortcut tool, hidden, to the drive's root.
  const std::wstring root = last + L"\\";
  EXPECT_EQ(tray::MountedDrive, root);
  EXPECT_EQ(tray::SendToLinkName, L"加密盘" + last.substr(0, 1) + L".lnk");
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].commandLine, forms::AppPath() + L"\\SorvLink.exe " + root + L" \"" +
                                       dir.path() + L"\\" + tray::SendToLinkName +
                                       L"\" LnkOfVirtualDisk");
  EXPECT_EQ(starts[0].style, forms::WindowStyle::Hide);
  form.Unload();
}

TEST_F(MountTest, HotKeyOffAndNoSendToFolder) {
  key = MakeContainer(path, "pw");
  SetSetting(L"HotKeyConfig", L"0");
  Load();
  tray::SendToFolder.clear();
  Ok(L"pw");
  EXPECT_TRUE(boxes.empty());
  EXPECT_FALSE(tray::TrayIconShown);
  EXPECT_EQ(tray::HotKeyId, 0);
  EXPECT_TRUE(starts.empty());  // no shortcut at "\加密盘X.lnk"
  form.Unload();
}

}  // namespace
