// Start-up and the ways out without mounting: the prompt's contents, cancel, the
// no-container window.
#include "DriveChoice.h"
#include "Instance.h"
#include "TrayFixture.h"

namespace {

using PromptTest = TrayFixture;

TEST_F(PromptTest, LoadShowsTheContainerAndTheDriveListCancelGuardsTheFile) {
  MakeContainer(path, "pw");
  SetSetting(L"IsAutoMount", L"1");
  SetSetting(L"IsProtectFile", L"1");
  std::vector<std::wstring> free = tray::FreeDriveLetters();
  ASSERT_GE(free.size(), 2u);
  const std::wstring stored = free[free.size() - 2];
  const std::string guard = Ansi(free[0]);
  SetSetting(L"DriveLetter", stored);
  SetSetting(L"Path", path);
  form.Load();
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(form.Label5.Caption(), L"box.cvd");
  EXPECT_EQ(form.Label6.Caption(), dir.path() + L"\\");
  EXPECT_EQ(form.Check1.Value(), 1);
  // The known folder, without its backslash; the shell's taskbar message let through.
  EXPECT_EQ(tray::SendToFolder, dir.path());
  ASSERT_EQ(filters.size(), 1u);
  EXPECT_EQ(filters[0].hwnd, form.hWnd());
  EXPECT_EQ(filters[0].message, RegisterWindowMessageW(L"TaskbarCreated"));
  EXPECT_EQ(filters[0].action, DWORD(MSGFLT_ALLOW));
  // The protection is released through the first free letter before anything is read, and
  // the driver asked whether an earlier start left a drive behind.
  EXPECT_EQ(MountCommands(),
            (std::vector<std::string>{"/unlockfile 0 " + guard, "/query 0 " + guard}));
  // The automatic entry first, then the free letters in order; the stored one selected.
  free.insert(free.begin(), tray::AutoDrive);
  ASSERT_EQ(form.Combo1.ListCount(), int(free.size()));
  for (int i = 0; i < form.Combo1.ListCount(); ++i) EXPECT_EQ(form.Combo1.List(i), free[i]);
  EXPECT_EQ(form.Combo1.Text(), stored);
  // Tab order: the password box, the list, the buttons, the check box.
  HWND order[] = {form.Text1.hWnd(), form.Combo1.hWnd(), form.Command1.hWnd(), form.Command2.hWnd(),
                  form.Check1.hWnd()};
  for (size_t i = 0; i + 1 < std::size(order); ++i)
    EXPECT_EQ(GetNextDlgTabItem(form.hWnd(), order[i], FALSE), order[i + 1]) << i;

  SendMessageW(form.Command2.hWnd(), BM_CLICK, 0, 0);
  EXPECT_FALSE(form.IsLoaded());
  EXPECT_EQ(MountCommands(),
            std::vector<std::string>{"/lockfile 0 " + guard + " \"" + Ansi(path) + "\""});
}

TEST_F(PromptTest, MissingContainerFileEndsTheProgram) {
  SetSetting(L"Path", dir / L"gone.cvd");
  form.Load();
  EXPECT_TRUE(tray::ProgramEnded);
  EXPECT_FALSE(form.Visible());
  ExpectBox(
      0,
      L"在当前加载的加密盘路径下没有找到加密盘文件，程序不能启动。请重新加载或者重建加密盘文件。",
      L"注意", MB_ICONERROR);
}

TEST_F(PromptTest, NoContainerWindowStartsTheWizardWithTheSemaphoreFree) {
  ASSERT_TRUE(tray::TakeInstanceSemaphore());
  // "打开向导" once the window's modal loop runs.
  static tray::Form4* noContainer = &form.noContainer;
  SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
    if (!noContainer->Visible()) return;
    KillTimer(nullptr, id);
    SendMessageW(noContainer->Command2.hWnd(), BM_CLICK, 0, 0);
  });
  form.Load();
  EXPECT_FALSE(form.IsLoaded());
  EXPECT_EQ(starts, (decltype(starts){{L"\"" + forms::AppPath() + L"\\SorvForge.exe\"",
                                       forms::WindowStyle::NormalFocus}}));
  // The wizard's own check passes: the count is free again.
  HANDLE wizard = CreateSemaphoreA(nullptr, 1, 1, "Sorvane");
  EXPECT_EQ(WaitForSingleObject(wizard, 0), WAIT_OBJECT_0);
  CloseHandle(wizard);
}

// The shortcut tool writes only into the profile's SendTo folder, so the tray takes that one:
// a user's own "User Shell Folders" value pointing elsewhere is not followed.
TEST_F(PromptTest, SendToFolderIsTheProfilesWhateverTheUsersShellFolderValue) {
  const wchar_t key[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
  HKEY folders = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &folders, nullptr),
            ERROR_SUCCESS);
  const std::wstring elsewhere = dir.path();
  RegSetValueExW(folders, L"SendTo", 0, REG_SZ, reinterpret_cast<const BYTE*>(elsewhere.c_str()),
                 DWORD((elsewhere.size() + 1) * sizeof(wchar_t)));
  tray::SendToLookup fixture = tray::SetSendToLookup({});  // the real lookup
  const std::wstring found = tray::UserSendToFolder();
  tray::SetSendToLookup(fixture);
  RegDeleteValueW(folders, L"SendTo");
  RegCloseKey(folders);
  wchar_t profile[MAX_PATH] = {};
  GetEnvironmentVariableW(L"USERPROFILE", profile, MAX_PATH);
  EXPECT_EQ(found, std::wstring(profile) + L"\\AppData\\Roaming\\Microsoft\\Windows\\SendTo");
}

}  // namespace
