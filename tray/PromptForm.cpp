#include "PromptForm.h"

#include <commctrl.h>
#include <shellapi.h>

#include <utility>
#include <vector>

#include "CutAtNul.h"
#include "DriveChoice.h"
#include "MountSequence.h"
#include "OrphanMount.h"
#include "ProgramIcon.h"
#include "Protection.h"
#include "QuitUnmount.h"
#include "Reg.h"
#include "SendToLink.h"
#include "SplitPath.h"
#include "SysTray.h"
#include "TipOfDay.h"
#include "TrayLinks.h"
#include "TrayState.h"
#include "TrayWindowProc.h"
#include "Wipe.h"

namespace tray {
namespace {

std::wstring Setting(const wchar_t* name) { return CutAtNul(GetSetting(name)); }

}  // namespace

Form1::Form1() {
  ClientSize(5910, 2310);
  Border(forms::BorderStyle::FixedSingle);
}

void Form1::Design() {
  // Created in tab order: Label1, Text1, Combo1, Command1, Command2, Check1.
  Label1.Create(*this, nullptr, L"", 720, 1500, 1215, 255);
  Text1.Create(*this, nullptr, L"", 1920, 1450, 2415, 300);
  Text1.PasswordChar(L'*');
  Combo1.Create(*this, nullptr, 1920, 950, 2415, 300, forms::ComboBox::DropDownList, true);
  Command1.Create(*this, nullptr, L"", 4560, 950, 1150, 300);
  Command1.Default(true);
  Command1.Click = [this] { Command1_Click(); };
  Command2.Create(*this, nullptr, L"", 4560, 1450, 1150, 300);
  Command2.Cancel(true);
  Command2.Click = [this] { Command2_Click(); };
  Check1.Create(*this, nullptr, L"", 600, 1920, 3855, 375);
  Label3.Create(*this, nullptr, L"", 720, 240, 975, 255);
  Label5.Create(*this, nullptr, L"", 1800, 240, 3975, 180);
  Label4.Create(*this, nullptr, L"", 720, 555, 975, 255);
  Label6.Create(*this, nullptr, L"", 1800, 555, 3975, 180);
  Label2.Create(*this, nullptr, L"", 720, 1005, 1215, 255);
  Image1.Create(*this, nullptr, 0, 120, 615, 735);
  Label7.Create(*this, nullptr, L"Temp", 0, 0, 0, 0);
  Label7.Visible(false);

  mnuTray.CreatePopup(*this, L"Popup");
  popHomePage.Create(mnuTray, L"");
  popHomePage.Click = [this] { popHomePage_Click(); };
  popBar0.CreateSeparator(mnuTray);
  popOpenDrive.Create(mnuTray, L"");
  popOpenDrive.Click = [this] { popOpenDrive_Click(); };
  popBar1.CreateSeparator(mnuTray);
  popOpenSorvDesk.Create(mnuTray, L"");
  popOpenSorvDesk.Click = [this] { popOpenSorvDesk_Click(); };
  popHelp.Create(mnuTray, L"");
  popHelp.Click = [this] { popHelp_Click(); };
  popAbout.Create(mnuTray, L"");
  popAbout.Click = [this] { popAbout_Click(); };
  popBar2.CreateSeparator(mnuTray);
  popTrayClose.Create(mnuTray, L"");
  popTrayClose.Click = [this] { popTrayClose_Click(); };
}

void Form1::Form_Initialize() { InitCommonControls(); }

void Form1::Form_Load() {
  Icon(ProgramIcon());
  Image1.Picture(ProgramIcon());
  Centre();
  FirstActivate = true;
  UnprotectCvdFile();
  SettleOrphanedMount();
  forms::DoEvents();

  const std::wstring path = Setting(L"Path");
  if (!path.empty()) {
    if (!forms::FileExists(path)) {
      forms::MsgBox(
          L"在当前加载的加密盘路径下没有找到加密盘文件，程序不能启动。请重新加载或者重建加密盘文件"
          L"。",
          MB_OK | MB_ICONERROR, L"注意");
      ProgramEnded = true;
      return;
    }
    std::wstring drive, dir, file, base, ext;
    SplitPath(path, drive, dir, file, base, ext);
    Label5.Caption(file);
    Label5.ToolTipText(file);
    Label6.Caption(drive + dir);
    Label6.ToolTipText(drive + dir);
  } else {
    noContainer.ShowModal(*this);
    if (ProgramEnded) return;
  }

  TaskbarCreatedMsg = RegisterWindowMessageA("TaskbarCreated");
  AllowTaskbarCreated(hWnd(), TaskbarCreatedMsg);

  Caption(L"Velkiro");
  const std::pair<forms::Control*, const wchar_t*> controls[] = {
      {&Command1, L"确定"}, {&Command2, L"取消"}, {&Check1, L"开机自动加载"}, {&Label1, L"密码："},
      {&Label2, L"盘符："}, {&Label3, L"名称："}, {&Label4, L"位置："}};
  for (auto& [control, text] : controls) control->Caption(text);
  const std::pair<forms::Menu*, const wchar_t*> items[] = {
      {&popHomePage, L"访问主页"},        {&popOpenDrive, L"打开加密盘"},
      {&popOpenSorvDesk, L"管理Velkiro"}, {&popHelp, L"使用帮助"},
      {&popAbout, L"关于Velkiro"},        {&popTrayClose, L"退出"}};
  for (auto& [item, text] : items) item->Caption(text);

  for (const std::wstring& drive : FreeDriveLetters()) Combo1.AddItem(drive);
  Combo1.AddItem(AutoDrive);
  std::vector<std::wstring> entries;
  for (int i = 0; i < Combo1.ListCount(); ++i) entries.push_back(Combo1.List(i));
  Combo1.ListIndex(PreselectIndex(entries, Setting(L"DriveLetter")));

  Check1.Value(Setting(L"IsAutoMount") == L"1" ? 1 : 0);
  SendToFolder = UserSendToFolder();

  Text1.SetFocus();
}

void Form1::Form_Activate() {
  if (Setting(L"TipsOfDay") != L"0" && FirstActivate) {
    FirstActivate = false;
    TipOfDay tip(TipOfDay::Placement::Tray);
    tip.ShowModal(*this);
  }
}

void Form1::Command1_Click() {
  MountChoice choice;
  choice.driveText = Combo1.Text();
  int count = Combo1.ListCount();
  choice.lastEntry = count > 0 ? Combo1.List(count - 1) : std::wstring();
  choice.autostart = Check1.Value() == 1;
  choice.password = Text1.Text();
  const bool mounted = MountContainer(choice, Sorvane1);
  Wipe(choice.password);
  if (!mounted) return;  // the box keeps the password for another try
  // The hidden window lives on: overwrite the box's own buffer, then empty it.
  Text1.Text(std::wstring(size_t(GetWindowTextLengthW(Text1.hWnd())), L' '));
  Text1.Text(L"");
  EnterTray(*this, mnuTray);
}

void Form1::Command2_Click() { Unload(); }

void Form1::IsQuit() {
  if (!AskAndUnmount()) return;
  Unload();
  DeleteSendToLink();
}

void Form1::Form_Unload(bool&) {
  CloseHandle(SemaphoreHandle);
  SemaphoreHandle = nullptr;
  NOTIFYICONDATAA data = PlainRecord(hWnd());
  NotifyIcon(NIM_DELETE, data);
  if (OldWindowProc)
    SetWindowLongPtrW(hWnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OldWindowProc));
  UnloadOtherForms(this);
  if (Setting(L"IsProtectFile") == L"1") ProtectCvdFile();
}

void Form1::popHomePage_Click() {
  ShellExecuteW(hWnd(), L"open", HomePage, nullptr, nullptr, SW_HIDE);
}

void Form1::popOpenDrive_Click() { OpenMountedDrive(); }

void Form1::popOpenSorvDesk_Click() {
  forms::Shell(ProgramFile(L"SorvDesk.exe"), forms::WindowStyle::NormalFocus);
}

void Form1::popHelp_Click() {
  forms::ShellOpen(L"", forms::AppPath() + L"\\help.chm");
}

void Form1::popAbout_Click() { about.Show(); }

void Form1::popTrayClose_Click() { IsQuit(); }

}  // namespace tray
