#include "NoContainerForm.h"

#include <commctrl.h>

#include <vector>

#include "ProgramIcon.h"
#include "TrayLinks.h"
#include "TrayState.h"

namespace tray {

void UnloadOtherForms(const forms::Form* keep) {
  std::vector<forms::Form*> loaded = forms::Forms();
  for (forms::Form* f : loaded)
    if (f != keep) f->Unload();
}

Form4::Form4() {
  ClientSize(7590, 1770);
  Border(forms::BorderStyle::FixedDialog);
}

void Form4::Design() {
  Label1.Create(*this, nullptr, L"", 360, 240, 6975, 855);
  Command1.Create(*this, nullptr, L"", 1800, 1320, 1995, 300);
  Command1.Click = [this] { EndWith(L"SorvDesk.exe"); };
  Command2.Create(*this, nullptr, L"", 3960, 1320, 1995, 300);
  Command2.Click = [this] { EndWith(L"SorvForge.exe"); };
  Command3.Create(*this, nullptr, L"", 6120, 1320, 1150, 300);
  Command3.Click = [this] { EndWith(L""); };
}

void Form4::Form_Initialize() { InitCommonControls(); }

void Form4::Form_Load() {
  Centre();
  Icon(ProgramIcon());
  Caption(L"提醒");
  Label1.Caption(
      L"Velkiro检测到你当前没有已加载的加密盘。如果你是第一次使用本软件，可以运行“向导”创建加密盘文"
      L"件，也可以运行“管理Velkiro”创建（加载）加密盘文件。");
  Command1.Caption(L"打开管理Velkiro");
  Command2.Caption(L"打开向导");
  Command3.Caption(L"退出");
}

void Form4::EndWith(const std::wstring& program) {
  UnloadOtherForms(this);
  Unload();
  if (!program.empty()) forms::Shell(ProgramFile(program), forms::WindowStyle::NormalFocus);
  ProgramEnded = true;
}

}  // namespace tray
