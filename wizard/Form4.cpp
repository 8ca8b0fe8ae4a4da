#include "Form4.h"

#include <commctrl.h>

#include "InstanceSemaphore.h"
#include "Wizard.h"

namespace wizard {

Form4::Form4(Wizard& wizard) : wizard_(wizard) {
  ClientSize(7800, 4200);
  Border(forms::BorderStyle::FixedSingle);
}

void Form4::Design() {
  Label1.Create(*this, nullptr, L"", 240, 240, 7320, 300);
  Label2.Create(*this, nullptr, L"", 480, 720, 7080, 780);
  Label3.Create(*this, nullptr, L"", 480, 1680, 7080, 255);
  Label4.Create(*this, nullptr, L"", 480, 2040, 7080, 500);
  Label5.Create(*this, nullptr, L"", 480, 2640, 7080, 255);
  Label6.Create(*this, nullptr, L"", 480, 3000, 7080, 255);
  Command1.Create(*this, nullptr, L"", 6240, 3600, 1150, 360);
  Command1.Default(true);
  Command1.Click = [this] { Command1_Click(); };
}

void Form4::Form_Initialize() { InitCommonControls(); }

void Form4::Form_Load() {
  Centre();
  Caption(L"创建加密盘向导(4-4)");
  Label1.Caption(L"安装完成！");
  Label2.Caption(
      L"恭喜！您已经完成了软件的全部设置，接下来您可以方便地使用本软件了。您可以放心地把数据放到"
      L"加密盘中，本软件会自动用高强度加密算法保护您的数据。");
  Label3.Caption(L"感谢大家使用本软件");
  Label4.Caption(L"欢迎大家多提宝贵意见。您的意见将会帮我们把软件做得更好。");
  Label5.Caption(std::wstring(L"网址:") + WebAddress);
  Label6.Caption(std::wstring(L"E-MAIL:") + MailAddress);
  Command1.Caption(L"确定");
}

void Form4::Command1_Click() {
  // The count goes back before the tray program starts, or it would find the wizard running.
  ReleaseInstanceSemaphore(wizard_.semaphore);
  forms::Shell(ProgramFile(L"start.exe"), forms::WindowStyle::NormalFocus);
  wizard_.End();
}

// Closed another way: the other windows are hidden, so nothing would end the program.
void Form4::Form_QueryUnload(bool&, forms::UnloadMode mode) {
  if (mode != forms::UnloadMode::Code) wizard_.End(this);
}

}  // namespace wizard
