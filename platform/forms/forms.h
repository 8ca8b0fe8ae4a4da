// The forms runtime: windows written as forms, thin over plain Win32.
//
// A form is a class derived from forms::Form with its controls as members. Its constructor
// sets the design-time properties; Design() makes the controls (positions in twips, the
// order of creation is the tab order) and wires their events to the form's handlers; the
// Form_* hooks are the form's own events. An exception that leaves a handler ends it with
// a message box "Error: ..." and the window stays open.
//
//   class Form1 : public forms::Form {
//   public:
//       forms::Label Label1;
//       forms::TextBox Text1;
//       forms::CommandButton Command1, Command2;
//       forms::Timer Timer1;
//       Form1() { ClientSize(5910, 2310); Border(forms::BorderStyle::FixedSingle); }
//   protected:
//       void Design() override {
//           Label1.Create(*this, nullptr, L"密码：", 720, 1500, 1215, 255);
//           Text1.Create(*this, nullptr, L"", 1920, 1450, 2415, 300);
//           Text1.PasswordChar(L'*');
//           Command1.Create(*this, nullptr, L"确定", 4560, 950, 1150, 300);
//           Command1.Default(true);                       // Enter
//           Command1.Click = [this] { Command1_Click(); };
//           Command2.Create(*this, nullptr, L"取消", 4560, 1450, 1150, 300);
//           Command2.Cancel(true);                        // Esc
//           Command2.Click = [this] { Unload(); };
//           Timer1.Create(*this);
//           Timer1.Tick = [this] { Timer1_Timer(); };
//       }
//       void Form_Load() override { Caption(L"Velkiro"); Centre(); Timer1.Interval(4000); }
//       void Command1_Click() {
//           if (Text1.Text().empty()) forms::MsgBox(L"请输入密码", MB_ICONINFORMATION, L"注意");
//       }
//       void Timer1_Timer() {}
//   };
//
//   int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
//       Form1 form;
//       form.Show();
//       return forms::Run();   // ends when the last form is unloaded
//   }
//
// An outside control (its own window class) derives from forms::Control, makes its window as
// a child of form.hWnd() and calls Attach(form, hwnd), or makes it with CreateWin; the form
// then hands it its notifications through Reflect() (see control.h).
//
// In CMake: add_executable(prog WIN32 ...) then sorv_window_program(prog), which links this
// library and adds the manifest (common controls 6, dpi awareness) and -municode.
// Tests: forms::SetMsgBoxResponder and forms::SetLauncher script message boxes and record
// program starts; BM_CLICK on a control's hWnd() is a real click.
#pragma once

#include "control.h"
#include "controls.h"
#include "drives.h"
#include "filedialog.h"
#include "form.h"
#include "listview.h"
#include "menu.h"
#include "runtime.h"
#include "statusbar.h"
#include "timer.h"
#include "twips.h"
