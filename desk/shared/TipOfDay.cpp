#include "TipOfDay.h"

#include <commctrl.h>

#include "Reg.h"
#include "TipsFile.h"

namespace {
constexpr wchar_t kLastTipsLine[] = L"LastTipsLine";
constexpr wchar_t kTipsOfDay[] = L"TipsOfDay";

// Val() of a setting: its leading decimal digits, 0 when there are none.
int LeadingNumber(const std::wstring& text) {
  long long n = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') break;
    n = n * 10 + (c - L'0');
    if (n > 32767) return 32767;
  }
  return int(n);
}
}  // namespace

TipOfDay::TipOfDay(Placement placement, bool* closeClears)
    : placement_(placement), closeClears_(closeClears) {
  ClientSize(6240, 3660);
  Border(forms::BorderStyle::FixedDialog);
  ShowInTaskbar(false);
}

void TipOfDay::Design() {
  Frame1.Create(*this, nullptr, L"", 120, 60, 6000, 2880);
  Image1.Create(*this, &Frame1, 180, 240, 480, 480);
  Image1.Picture(LoadIconW(nullptr, IDI_INFORMATION));
  Label1.Create(*this, &Frame1, L"", 840, 300, 4900, 300);
  Line1.Create(*this, &Frame1, L"", 840, 660, 4980, 30);
  // The divider: an empty label drawn as a sunken edge.
  SetWindowLongPtrW(Line1.hWnd(), GWL_EXSTYLE, WS_EX_STATICEDGE);
  SetWindowPos(Line1.hWnd(), nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  Label2.Create(*this, &Frame1, L"", 840, 700, 4980, 2040);
  Check1.Create(*this, nullptr, L"", 180, 3150, 2600, 300);
  Command1.Create(*this, nullptr, L"", 3480, 3110, 1200, 375);
  Command1.Default(true);
  Command1.Click = [this] { Command1_Click(); };
  Command2.Create(*this, nullptr, L"", 4860, 3110, 1200, 375);
  Command2.Cancel(true);
  Command2.Click = [this] { Command2_Click(); };
}

void TipOfDay::Form_Initialize() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
}

void TipOfDay::Form_Load() {
  if (TipsFile.empty()) TipsFile = forms::AppPath() + L"\\tips.dat";
  Caption(L"日积月累");
  if (placement_ == Placement::Desk) {
    Centre();
  } else {
    Left(((forms::Screen::Width() - Width()) * 2) / 3);
    Top(((forms::Screen::Height() - Height()) * 3) / 4);
  }
  Check1.Value(GetSetting(kTipsOfDay) == L"0" ? 0 : 1);
  Command1.Caption(L"下一条");
  Command2.Caption(L"关闭");
  Check1.Caption(L"启动时自动显示");
  Label1.Caption(L"你知道吗？");

  const int n = AllLineNumber(TipsFile);
  const std::wstring last = GetSetting(kLastTipsLine);
  const int v = LeadingNumber(last);
  ShowTip(!last.empty() && v >= 1 && v < n ? v + 1 : 1);
}

void TipOfDay::Command1_Click() {
  const int n = AllLineNumber(TipsFile);
  int i = LeadingNumber(GetSetting(kLastTipsLine)) + 1;
  if (i > n) i = 1;
  ShowTip(i);
}

void TipOfDay::ShowTip(int number) {
  // Without any tip (file missing or empty) the box stays empty and the position is kept.
  if (AllLineNumber(TipsFile) == 0) {
    Label2.Caption(L"\r\n\r\n");
    return;
  }
  Label2.Caption(L"\r\n\r\n" + GetTips(TipsFile, number));
  SetSetting(kLastTipsLine, std::to_wstring(number));
}

void TipOfDay::Command2_Click() {
  if (closeClears_) *closeClears_ = false;
  Unload();
}

void TipOfDay::Form_Unload(bool&) { SetSetting(kTipsOfDay, Check1.Value() == 1 ? L"1" : L"0"); }
