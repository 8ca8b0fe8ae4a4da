// Forms and helpers shared by the runtime's tests.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "ScriptedRuntime.h"
#include "forms.h"

namespace forms_test {

using namespace forms;

// Runs the message loop until `done` or about `ms` milliseconds have passed.
template <class F>
bool PumpUntil(F done, int ms = 3000) {
  DWORD end = GetTickCount() + ms;
  while (!done() && GetTickCount() < end) {
    DoEvents();
    Sleep(5);
  }
  return done();
}

class TestForm : public Form {
 public:
  Label Label1;
  TextBox Text1;
  CommandButton Command1, Command2;
  CheckBox Check1;
  Timer Timer1;
  int clicks1 = 0, clicks2 = 0, ticks = 0, loads = 0, unloads = 0;
  std::wstring answer;

  TestForm() {
    ClientSize(5910, 2310);
    Border(BorderStyle::FixedSingle);
  }

 protected:
  void Design() override {
    Label1.Create(*this, nullptr, L"密码：", 720, 1500, 1215, 255);
    Text1.Create(*this, nullptr, L"", 1920, 1450, 2415, 300);
    Text1.PasswordChar(L'*');
    Command1.Create(*this, nullptr, L"确定", 4560, 950, 1150, 300);
    Command1.Default(true);
    Command1.Click = [this] { Command1_Click(); };
    Command2.Create(*this, nullptr, L"取消", 4560, 1450, 1150, 300);
    Command2.Cancel(true);
    Command2.Click = [this] { ++clicks2; };
    Check1.Create(*this, nullptr, L"开机自动加载", 600, 1920, 3855, 375);
    Timer1.Create(*this);
    Timer1.Tick = [this] { ++ticks; };
  }
  void Form_Load() override {
    ++loads;
    Caption(L"测试");
  }
  void Form_Unload(bool&) override { ++unloads; }
  void Command1_Click() {
    ++clicks1;
    int r = MsgBox(L"要退出程序吗？", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, L"注意");
    answer = r == IDYES ? L"yes" : L"no";
  }
};

class WideForm : public Form {
 public:
  Frame Frame1;
  CommandButton Command1;
  ComboBox Combo1;
  Slider Slider1;
  SpinButton SpinButton1;
  Menu mnuFile, mnuCreate, mnuSep, mnuQuit, mnuPopupMenu, mnupopupCreate;
  int creates = 0, frameClicks = 0, spins = 0, loads = 0, activations = 0;
  bool refuseUnload = false;

 protected:
  void Design() override {
    Frame1.Create(*this, nullptr, L"选择磁盘", 120, 120, 3000, 1500);
    Command1.Create(*this, &Frame1, L"下一步", 300, 300, 1200, 375);
    Command1.Click = [this] { ++frameClicks; };
    Combo1.Create(*this, nullptr, 3300, 120, 1400, 300, ComboBox::DropDownList, true);
    Slider1.Create(*this, nullptr, 120, 1800, 3000, 400);
    SpinButton1.Create(*this, nullptr, 3300, 1800, 255, 375);
    SpinButton1.SpinUp = [this] { ++spins; };
    SpinButton1.SpinDown = [this] { --spins; };
    mnuFile.CreateTop(*this, L"文件(&F)");
    mnuCreate.Create(mnuFile, L"创建(&C)");
    mnuCreate.Click = [this] { ++creates; };
    mnuSep.CreateSeparator(mnuFile);
    mnuQuit.Create(mnuFile, L"退出(&Q)");
    mnuPopupMenu.CreatePopup(*this, L"右键菜单");
    mnupopupCreate.Create(mnuPopupMenu, L"创建(&C)");
    mnupopupCreate.Click = [this] { ++creates; };
  }
  void Form_Load() override { ++loads; }
  void Form_Activate() override { ++activations; }
  void Form_QueryUnload(bool& cancel, UnloadMode) override { cancel = refuseUnload; }
};

// Answers the next common dialog with the given title: cancel, or a typed name.
struct DialogAnswer {
  static inline std::wstring title, name;
  static inline WPARAM command = IDCANCEL;
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dlg = FindWindowW(L"#32770", title.c_str());
    if (!dlg) return;
    KillTimer(nullptr, id);
    if (name.empty()) {
      PostMessageW(dlg, WM_COMMAND, command, 0);
    } else {
      SetDlgItemTextW(dlg, 0x47c, name.c_str());  // the file name box
      PostMessageW(dlg, WM_COMMAND, IDOK, 0);
    }
  }
  DialogAnswer(const std::wstring& t, const std::wstring& n, WPARAM c = IDCANCEL) {
    title = t;
    name = n;
    command = c;
    SetTimer(nullptr, 0, 100, Tick);
  }
};

}  // namespace forms_test
