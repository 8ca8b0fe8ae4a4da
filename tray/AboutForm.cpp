#include "AboutForm.h"

#include <commctrl.h>

#include "ProgramIcon.h"
#include "TitleFont.h"
#include "TrayLinks.h"

namespace tray {

Form3::Form3() {
  ClientSize(5400, 3300);
  Border(forms::BorderStyle::FixedDialog);
  ShowInTaskbar(false);
}

void Form3::Design() {
  Frame1.Create(*this, nullptr, L"", 120, 60, 975, 975);
  Image1.Create(*this, &Frame1, 120, 180, 735, 735);
  Label1.Create(*this, nullptr, L"", 1320, 180, 3900, 375);
  Label2.Create(*this, nullptr, L"", 1320, 600, 3900, 255);
  Label3.Create(*this, nullptr, L"", 1320, 900, 3900, 255);
  Frame2.Create(*this, nullptr, L"", 120, 1260, 5160, 1260);
  Label4.Create(*this, &Frame2, L"", 240, 300, 4680, 255);
  Label5.Create(*this, &Frame2, L"", 240, 720, 4680, 255);
  Command1.Create(*this, nullptr, L"", 4080, 2760, 1200, 375);
  Command1.Default(true);
  Command1.Cancel(true);
  Command1.Click = [this] { Unload(); };
}

void Form3::Form_Initialize() { InitCommonControls(); }

void Form3::Form_Load() {
  Centre();
  Icon(ProgramIcon());
  Image1.Picture(ProgramIcon());
  Label1.Font(TitleFont());
  Caption(L"关于“Velkiro”");
  Label1.Caption(L"Velkiro");
  Label2.Caption(L"磁盘加密软件 For Windows2000/XP/2003");
  Label3.Caption(L"Velkiro 开发组出品");
  Label4.Caption(L"版本：1.27");
  Label5.Caption(std::wstring(L"网址： ") + HomePage);
  Command1.Caption(L"确定");
}

}  // namespace tray
