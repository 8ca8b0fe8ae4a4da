#include "AboutDialog.h"

#include <commctrl.h>

#include "DeskIcons.h"
#include "TitleFont.h"

namespace desk {

Form6::Form6() {
  ClientSize(5400, 2880);
  Border(forms::BorderStyle::FixedDialog);
  ShowInTaskbar(false);
}

void Form6::Design() {
  Frame1.Create(*this, nullptr, L"", 120, 60, 975, 975);
  Image1.Create(*this, &Frame1, 120, 180, 735, 735);
  Label1.Create(*this, nullptr, L"", 1320, 240, 3900, 375);
  Label2.Create(*this, nullptr, L"", 1320, 720, 3900, 255);
  Frame2.Create(*this, nullptr, L"", 120, 1200, 5160, 840);
  Label4.Create(*this, &Frame2, L"", 240, 360, 4680, 255);
  Command1.Create(*this, nullptr, L"", 4080, 2280, 1200, 375);
  Command1.Default(true);
  Command1.Cancel(true);
  Command1.Click = [this] { Unload(); };
}

void Form6::Form_Initialize() { InitCommonControls(); }

void Form6::Form_Load() {
  Centre();
  Image1.Picture(DeskIcon(Glyph::Container, 48));
  Label1.Font(TitleFont());
  Caption(L"关于“Velkiro”");
  Label1.Caption(L"Velkiro（Sorvane）");
  Label2.Caption(L"磁盘加密软件 For Windows2000/XP/2003");
  Label4.Caption(L"版本：1.27");
  Command1.Caption(L"确定");
}

}  // namespace desk
