// Start-up and the way out without mounting: the prompt's contents, the no-container window,
// cancel.
#include "DriveChoice.h"
#include "Instance.h"
#include "TrayFixture.h"

namespace {

using PromptTest = TrayFixture;

TEST_F(PromptTest, LoadShowsTheContainerAndTheSettings) {
  CreateDirectoryW((dir / L"my data").c_str(), nullptr);
  path = dir / L"my data\\box.cvd";
  MakeContainer(path, "password1");
  SetSetting(L"Path", path);
  SetSetting(L"IsAutoMount", L"1");
  std::vector<std::wstring> free = tray::FreeDriveLetters();
  ASSERT_GE(free.size(), 2u);
  const std::wstring stored = free[free.size() - 2];
  SetSetting(L"DriveLetter", stored);
  form.Load();
  ASSERT_FALSE(tray::ProgramEnded);
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(form.Label5.Caption(), L"box.cvd");
  EXPECT_EQ(form.Label6.Caption(), dir.path() + L"\\my data\\");
  EXPECT_EQ(form.Check1.Value(), 1);
  // The protection is released through the first free letter before anything is read.
  EXPECT_EQ(MountCommands(), std::vector<std::string>{"/unlockfile 0 " + Ansi(free.front())});

  // The automatic entry first, then the free letters in order; the stored one selected.
  std::vector<std::wstring> entries;
  for (int i = 0; i < form.Combo1.ListCount(); ++i) entries.push_back(form.Combo1.List(i));
  free.insert(free.begin(), tray::AutoDrive);
  EXPECT_EQ(entries, free);
  EXPECT_EQ(form.Combo1.Text(), stored);

  // Tab order: the password box, the list, the buttons, the check box.
  HWND order[] = {form.Text1.hWnd(), form.Combo1.hWnd(), form.Command1.hWnd(),
                  form.Command2.hWnd(), form.Check1.hWnd()};
  for (size_t i = 0; i + 1 < std::size(order); ++i)
    EXPECT_EQ(GetNextDlgTabItem(form.hWnd(), order[i], FALSE), order[i + 1]) << i;
}

TEST_F(PromptTest, MissingContainerFileEndsTheProgram) {
  SetSetting(L"Path", dir / L"gone.cvd");
  form.Load();
  EXPECT_TRUE(tray::ProgramEnded);
  EXPECT_FALSE(form.Visible());
  ASSERT_EQ(boxes.size(), 1u);
  ExpectBox(0,
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
  EXPECT_TRUE(tray::ProgramEnded);
  EXPECT_FALSE(form.IsLoaded());
  EXPECT_TRUE(forms::Forms().empty());
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].first, forms::AppPath() + L"\\SorvForge.exe");
  // The wizard's own check passes: the count is free again.
  HANDLE wizard = CreateSemaphoreA(nullptr, 1, 1, "Sorvane");
  EXPECT_EQ(WaitForSingleObject(wizard, 0), WAIT_OBJECT_0);
  CloseHandle(wizard);
}

TEST_F(PromptTest, CancelOrCloseGuardsTheFileAgainWhenAsked) {
  MakeContainer(path, "pw");
  for (bool protect : {true, false}) {
    SetSetting(L"IsProtectFile", protect ? L"1" : L"0");
    Show();
    if (protect)
      SendMessageW(form.Command2.hWnd(), BM_CLICK, 0, 0);
    else
      SendMessageW(form.hWnd(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(form.IsLoaded());
    std::vector<std::string> guard;
    if (protect)
      guard = {"/lockfile 0 " + Ansi(tray::FreeDriveLetters().front()) + " \"" + Ansi(path) + "\""};
    EXPECT_EQ(MountCommands(), guard);
  }
}

}  // namespace
