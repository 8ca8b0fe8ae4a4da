// Start-up: the single instance, the prompt's contents, the no-container window.
#include <algorithm>

#include "DriveChoice.h"
#include "Instance.h"
#include "PromptForm.h"
#include "ProcessHarness.h"
#include "TrayFixture.h"

namespace {

using PromptTest = TrayFixture;

std::vector<std::wstring> Entries(forms::ComboBox& combo) {
  std::vector<std::wstring> list;
  for (int i = 0; i < combo.ListCount(); ++i) list.push_back(combo.List(i));
  return list;
}

std::wstring FreeLetterBeforeLast() {
  auto free = tray::FreeDriveLetters();
  return free.size() >= 2 ? free[free.size() - 2] : L"";
}

TEST_F(PromptTest, SecondInstanceIsRefusedWhileTheFirstHoldsTheSemaphore) {
  ASSERT_TRUE(tray::TakeInstanceSemaphore());
  HANDLE first = tray::SemaphoreHandle;
  EXPECT_TRUE(boxes.empty());

  EXPECT_FALSE(tray::TakeInstanceSemaphore());
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].prompt,
            L"您已经运行了向导程序或者“启动Velkiro”程序，请先退出再尝试运行本程序");
  EXPECT_EQ(boxes[0].title, L"注意");
  EXPECT_EQ(boxes[0].Icon(), UINT(MB_ICONINFORMATION));
  CloseHandle(tray::SemaphoreHandle);

  // Once the first closes its handle, a new start gets the count.
  CloseHandle(first);
  tray::SemaphoreHandle = nullptr;
  EXPECT_TRUE(tray::TakeInstanceSemaphore());
}

TEST_F(PromptTest, LoadShowsTheContainerAndTheSettings) {
  CreateDirectoryW((dir / L"my data").c_str(), nullptr);
  const std::wstring path = dir / L"my data\\box.cvd";
  MakeContainer(path, "password1");
  SetSetting(L"Path", path);
  SetSetting(L"IsAutoMount", L"1");
  const std::wstring stored = FreeLetterBeforeLast();
  ASSERT_FALSE(stored.empty());
  SetSetting(L"DriveLetter", stored);

  tray::Form1 form;
  form.Load();
  ASSERT_FALSE(tray::ProgramEnded);
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(form.Caption(), L"Velkiro");
  EXPECT_EQ(form.Label5.Caption(), L"box.cvd");
  EXPECT_EQ(form.Label5.ToolTipText(), L"box.cvd");
  EXPECT_EQ(form.Label6.Caption(), dir.path() + L"\\my data\\");
  EXPECT_EQ(form.Label6.ToolTipText(), form.Label6.Caption());
  EXPECT_EQ(form.Command1.Caption(), L"确定");
  EXPECT_EQ(form.Command2.Caption(), L"取消");
  EXPECT_EQ(form.Check1.Caption(), L"开机自动加载");
  EXPECT_EQ(form.Check1.Value(), 1);
  EXPECT_EQ(form.popTrayClose.Caption(), L"退出");
  EXPECT_EQ(form.ScaleWidth(), 5910);
  EXPECT_EQ(form.ScaleHeight(), 2310);
  EXPECT_NE(tray::TaskbarCreatedMsg, 0u);

  // The protection is released through the first free letter before anything is read.
  auto sent = MountCommands();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0], "/unlockfile 0 " + Ansi(tray::FreeDriveLetters().front()));

  // The automatic entry first, then the free letters in order; the stored one selected.
  std::vector<std::wstring> expected{tray::AutoDrive};
  for (auto& d : tray::FreeDriveLetters()) expected.push_back(d);
  EXPECT_EQ(Entries(form.Combo1), expected);
  EXPECT_EQ(form.Combo1.Text(), stored);

  // The password box follows the label in the tab order, then the list and the buttons.
  HWND order[] = {form.Text1.hWnd(), form.Combo1.hWnd(), form.Command1.hWnd(),
                  form.Command2.hWnd(), form.Check1.hWnd()};
  for (size_t i = 0; i + 1 < std::size(order); ++i)
    EXPECT_EQ(GetNextDlgTabItem(form.hWnd(), order[i], FALSE), order[i + 1]) << i;
  form.Unload();
}

TEST_F(PromptTest, MissingContainerFileEndsTheProgram) {
  SetSetting(L"Path", dir / L"gone.cvd");
  tray::Form1 form;
  form.Load();
  EXPECT_TRUE(tray::ProgramEnded);
  EXPECT_FALSE(form.Visible());
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].prompt,
            L"在当前加载的加密盘路径下没有找到加密盘文件，程序不能启动。请重新加载或者重建加密盘文件。");
  EXPECT_EQ(boxes[0].title, L"注意");
  EXPECT_EQ(boxes[0].Icon(), UINT(MB_ICONERROR));
}

// Clicks a button of the no-container window once its modal loop runs.
tray::Form1* clickFrom = nullptr;
int clickButton = 0;
void CALLBACK ClickNoContainerButton(HWND, UINT, UINT_PTR id, DWORD) {
  auto& f4 = clickFrom->noContainer;
  if (!f4.Visible()) return;
  KillTimer(nullptr, id);
  forms::CommandButton* buttons[] = {&f4.Command1, &f4.Command2, &f4.Command3};
  SendMessageW(buttons[clickButton]->hWnd(), BM_CLICK, 0, 0);
}

// Loads the prompt with no current container and clicks `button` (0 to 2) of Form4.
void LoadClicking(tray::Form1& form, int button) {
  clickFrom = &form;
  clickButton = button;
  SetTimer(nullptr, 0, 50, ClickNoContainerButton);
  form.Load();
}

TEST_F(PromptTest, NoContainerWindowStartsTheWizardWithTheSemaphoreFree) {
  SetSetting(L"IsProtectFile", L"0");
  ASSERT_TRUE(tray::TakeInstanceSemaphore());
  tray::Form1 form;
  LoadClicking(form, 1);

  EXPECT_TRUE(tray::ProgramEnded);
  EXPECT_FALSE(form.IsLoaded());
  EXPECT_EQ(form.noContainer.Caption(), L"提醒");
  EXPECT_TRUE(forms::Forms().empty());
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].commandLine, forms::AppPath() + L"\\SorvForge.exe");
  EXPECT_EQ(starts[0].style, forms::WindowStyle::NormalFocus);
  // The wizard's own check passes: the count is free again.
  HANDLE wizard = CreateSemaphoreA(nullptr, 1, 1, "Sorvane");
  EXPECT_EQ(WaitForSingleObject(wizard, 0), WAIT_OBJECT_0);
  CloseHandle(wizard);
}

TEST_F(PromptTest, NoContainerQuitStartsNothingAndProtectsWhenAsked) {
  SetSetting(L"IsProtectFile", L"1");
  tray::Form1 form;
  LoadClicking(form, 2);
  EXPECT_TRUE(tray::ProgramEnded);
  EXPECT_TRUE(starts.empty());
  // With no current container there is nothing to guard: only the release at start-up.
  auto sent = MountCommands();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].rfind("/unlockfile 0 ", 0), 0u);
}

}  // namespace

namespace {

int tipsSeen = 0;
void CALLBACK CloseTips(HWND, UINT, UINT_PTR, DWORD) {
  std::vector<forms::Form*> loaded = forms::Forms();
  for (forms::Form* f : loaded)
    if (f->Caption() == L"日积月累" && f->Visible()) {
      ++tipsSeen;
      f->Unload();
    }
}

TEST_F(PromptTest, TipShownAtTheFirstActivationOnly) {
  MakeContainer(dir / L"box.cvd", "pw");
  SetSetting(L"Path", dir / L"box.cvd");
  DeleteRegValue(HKEY_LOCAL_MACHINE, SettingsKey, L"TipsOfDay");
  tipsSeen = 0;
  UINT_PTR timer = SetTimer(nullptr, 0, 50, CloseTips);
  tray::Form1 form;
  form.Show();
  WaitFor([] { forms::DoEvents(); return tipsSeen > 0; }, 5000);
  EXPECT_EQ(tipsSeen, 1);

  // Another window of the program, then the prompt again: no second tip.
  form.about.Show();
  forms::DoEvents();
  SetForegroundWindow(form.hWnd());
  WaitFor([] { forms::DoEvents(); return false; }, 500);
  KillTimer(nullptr, timer);
  EXPECT_EQ(tipsSeen, 1);
  form.Unload();
}

TEST_F(PromptTest, CancelGuardsTheFileAgainWhenAsked) {
  MakeContainer(dir / L"box.cvd", "pw");
  SetSetting(L"Path", dir / L"box.cvd");
  SetSetting(L"IsProtectFile", L"1");
  tray::Form1 form;
  form.Show();
  ClearMountCommands();
  SendMessageW(form.Command2.hWnd(), BM_CLICK, 0, 0);
  EXPECT_FALSE(form.IsLoaded());
  auto sent = MountCommands();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0], "/lockfile 0 " + Ansi(tray::FreeDriveLetters().front()) + " \"" +
                         Ansi(dir / L"box.cvd") + "\"");
  EXPECT_TRUE(icons.size() == 1 && icons[0].message == NIM_DELETE);  // nothing to remove, asked anyway

  // The close box does the same; with the setting off nothing is guarded.
  SetSetting(L"IsProtectFile", L"0");
  tray::Form1 again;
  again.Show();
  ClearMountCommands();
  SendMessageW(again.hWnd(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(again.IsLoaded());
  EXPECT_TRUE(MountCommands().empty());
}

}  // namespace
