#include "Form2.h"

#include <commctrl.h>

#include "ContainerMaking.h"
#include "PublicFunc.h"
#include "Wipe.h"
#include "Wizard.h"

namespace wizard {

Form2::Form2(Wizard& wizard) : wizard_(wizard) {
  ClientSize(7800, 4800);
  Border(forms::BorderStyle::FixedSingle);
}

void Form2::Design() {
  Label1.Create(*this, nullptr, L"", 240, 120, 7320, 300);
  Label3.Create(*this, nullptr, L"", 480, 540, 6960, 255);
  Label4.Create(*this, nullptr, L"", 480, 1080, 1200, 255);
  Text1.Create(*this, nullptr, L"", 1800, 1040, 3600, 315);
  Text1.PasswordChar(L'*');
  Label5.Create(*this, nullptr, L"", 480, 1560, 1200, 255);
  Text2.Create(*this, nullptr, L"", 1800, 1520, 3600, 315);
  Text2.PasswordChar(L'*');
  Label2.Create(*this, nullptr, L"", 240, 2160, 7320, 255);
  Label6.Create(*this, nullptr, L"", 480, 2520, 7080, 255);
  Label7.Create(*this, nullptr, L"", 480, 2880, 7080, 255);
  Label8.Create(*this, nullptr, L"", 480, 3240, 7080, 255);
  Command1.Create(*this, nullptr, L"", 4920, 4200, 1150, 360);
  Command1.Default(true);
  Command1.Click = [this] { Command1_Click(); };
  Command2.Create(*this, nullptr, L"", 6240, 4200, 1150, 360);
  Command2.Click = [this] { wizard_.End(); };
}

void Form2::Form_Initialize() { InitCommonControls(); }

void Form2::Form_Load() {
  Centre();
  Caption(L"创建加密盘向导(4-2)");
  Label1.Caption(L"创建密码");
  Label2.Caption(L"提醒");
  Label3.Caption(L"注意：密码长度不能小于8位");
  Label4.Caption(L"输入密码：");
  Label5.Caption(L"确认密码：");
  Label6.Caption(L"1.请妥善保管密码，密码遗失会造成数据丢失。");
  Label7.Caption(L"2.尽量使用字母、数字及特殊符号混合的密码，密码越长数据越安全。");
  Label8.Caption(L"3.密码中不能含有空格。");
  Command1.Caption(L"下一步");
  Command2.Caption(L"取消");
}

// Closed by its frame: as "取消", or step 1 would stay loaded, hidden, holding the semaphore.
void Form2::Form_QueryUnload(bool&, forms::UnloadMode mode) {
  if (mode != forms::UnloadMode::Code) wizard_.End(this);
}

void Form2::Form_Unload(bool&) {
  for (forms::TextBox* box : {&Text1, &Text2}) WipeBox(box->hWnd());
}

void Form2::Command1_Click() {
  std::wstring password = Text1.Text(), again = Text2.Text();
  WipeOnExit wipePassword{password}, wipeAgain{again};
  const wchar_t* refusal = nullptr;
  UINT icon = MB_ICONERROR;
  const wchar_t* title = L"错误";
  if (password.empty())
    refusal = L"请输入密码";
  else if (again.empty())
    refusal = L"请输入确认密码";
  else if (password != again)
    refusal = L"2次输入的密码不一样，请重新输入。";
  else if (password.size() < 8)
    refusal = L"密码长度不能小于8位，请重新输入。";
  else if (IsSpaceChar(password) || !making::SurvivesAnsi(password)) {
    refusal = IsSpaceChar(password) ? L"密码中不能含有空格，请重新输入。" : making::kPasswordNotAnsi;
    icon = MB_ICONINFORMATION;
    title = L"注意";
  }
  if (refusal) {
    forms::MsgBox(refusal, icon, title);
    return;
  }
  Hide();
  wizard_.form3.Show();  // its loading runs the whole creation
  wizard_.form3.Hide();
}

}  // namespace wizard
