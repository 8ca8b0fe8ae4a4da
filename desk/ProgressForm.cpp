#include "ProgressForm.h"

#include <commctrl.h>

namespace desk {

Form7::Form7() {
  ClientSize(4800, 1200);
  Border(forms::BorderStyle::FixedDialog);
  ShowInTaskbar(false);
}

void Form7::Design() {
  ProgressBar1.Create(*this, nullptr, 240, 300, 3600, 330);
  Label1.Create(*this, nullptr, L"", 3960, 330, 720, 255);
}

void Form7::Form_Initialize() { InitCommonControls(); }

void Form7::Form_Load() {
  Caption(L"正在创建>>>>>>>>>>>>>>>");
  ProgressBar1.Min(0);
  ProgressBar1.Max(100);
  Centre();
}

void Form7::Begin() { Show(); }

void Form7::Percent(int percent) {
  Label1.Caption(std::to_wstring(percent) + L"%");
  ProgressBar1.Value(percent);
  Refresh();
}

void Form7::End() { Hide(); }

}  // namespace desk
