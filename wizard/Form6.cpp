#include "Form6.h"

#include <commctrl.h>

#include "Protection.h"
#include "Wipe.h"
#include "Wizard.h"

namespace wizard {

Form6::Form6(Wizard& wizard) : wizard_(wizard) {
  ClientSize(4800, 1500);
  Border(forms::BorderStyle::FixedDialog);
  ShowInTaskbar(false);
}

void Form6::Design() {
  Label1.Create(*this, nullptr, L"", 240, 240, 4320, 255);
  Text1.Create(*this, nullptr, L"", 240, 600, 3000, 315);
  Text1.PasswordChar(L'*');
  Command1.Create(*this, nullptr, L"", 3420, 580, 1150, 360);
  Command1.Default(true);
  Command1.Click = [this] { Command1_Click(); };
}

void Form6::Form_Initialize() { InitCommonControls(); }

void Form6::Form_Load() {
  Centre();
  forms::DoEvents();
  // The old file may be guarded by the driver; it must be readable and deletable now.
  UnprotectCvdFile();
  Caption(L"验证密码");
  Label1.Caption(L"请输入被覆盖的加密盘密码：");
  Command1.Caption(L"确定");
}

// Closed by "确定" or by its frame: the typed password does not stay in the box's memory.
void Form6::Form_Unload(bool&) { WipeBox(Text1.hWnd()); }

void Form6::Command1_Click() {
  if (Text1.Text().empty()) {
    forms::MsgBox(L"请输入密码：", MB_ICONINFORMATION, L"注意");
    return;
  }
  wizard_.form1.MyText = Text1.Text();
  Unload();
}

}  // namespace wizard
