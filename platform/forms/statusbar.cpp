#include "statusbar.h"

#include <commctrl.h>

#include <algorithm>

#include "form.h"
#include "twips.h"

namespace forms {
namespace {

const UINT_PTR kClockTimer = 1;

std::wstring Now(bool date) {
  wchar_t buf[128] = {};
  if (date)
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, buf, 128);
  else
    GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, nullptr, nullptr, buf, 128);
  return buf;
}

}  // namespace

void StatusBar::Create(Form& form) {
  panels_.clear();
  tips_ = nullptr;
  CreateWin(form, nullptr, STATUSCLASSNAMEW, L"", CCS_BOTTOM | SBARS_SIZEGRIP, 0, 0, 0, 0, 0);
  // Date and time panels follow the clock.
  SetTimer(hWnd(), kClockTimer, 1000, nullptr);
}

int StatusBar::AddPanel(PanelStyle style, Align align, AutoSize size, bool bevel, int width) {
  panels_.push_back(Panel{style, align, size, bevel, width, L"", nullptr, L""});
  Layout();
  return PanelCount();
}

std::wstring StatusBar::PanelText(int panel) const {
  if (panel < 1 || panel > PanelCount()) return {};
  return Shown(panels_[panel - 1]);
}

void StatusBar::PanelText(int panel, const std::wstring& text) {
  if (panel < 1 || panel > PanelCount()) return;
  panels_[panel - 1].text = text;
  Paint(panel);
}

void StatusBar::PanelToolTip(int panel, const std::wstring& text) {
  if (panel < 1 || panel > PanelCount() || !hWnd()) return;
  if (!tips_) {
    tips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0,
                            0, 0, hWnd(), nullptr, nullptr, nullptr);
    SendMessageW(tips_, TTM_SETMAXTIPWIDTH, 0, 600);
  }
  // One tool a panel, identified by its number, over the panel's rectangle.
  TTTOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.hwnd = hWnd();
  ti.uId = UINT_PTR(panel);
  const bool had = SendMessageW(tips_, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ti));
  panels_[panel - 1].tip = text;
  ti.uFlags = TTF_SUBCLASS;
  ti.lpszText = panels_[panel - 1].tip.data();
  Send(SB_GETRECT, panel - 1, reinterpret_cast<LPARAM>(&ti.rect));
  SendMessageW(tips_, had ? TTM_SETTOOLINFOW : TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

std::wstring StatusBar::PanelToolTip(int panel) const {
  if (panel < 1 || panel > PanelCount()) return {};
  return panels_[panel - 1].tip;
}

// The tools follow the panels when the bar is laid out again.
void StatusBar::PlaceTips() {
  if (!tips_) return;
  for (int panel = 1; panel <= PanelCount(); ++panel) {
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = hWnd();
    ti.uId = UINT_PTR(panel);
    Send(SB_GETRECT, panel - 1, reinterpret_cast<LPARAM>(&ti.rect));
    SendMessageW(tips_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&ti));
  }
}

void StatusBar::PanelPicture(int panel, HICON icon) {
  if (panel < 1 || panel > PanelCount()) return;
  panels_[panel - 1].icon = icon;
  Send(SB_SETICON, panel - 1, reinterpret_cast<LPARAM>(icon));
  Layout();
}

std::wstring StatusBar::Shown(const Panel& p) const {
  if (p.style == Date) return Now(true);
  if (p.style == Time) return Now(false);
  return p.text;
}

void StatusBar::Paint(int panel) {
  const Panel& p = panels_[panel - 1];
  // A tab before the text centres it, two right-align it.
  std::wstring text = (p.align == Align::Center  ? L"\t"
                       : p.align == Align::Right ? L"\t\t"
                                                 : L"") +
                      Shown(p);
  Send(SB_SETTEXTW, (panel - 1) | (p.bevel ? 0 : SBT_NOBORDERS),
       reinterpret_cast<LPARAM>(text.c_str()));
}

// Panels sized to their contents take what they need, springs share the rest.
void StatusBar::Layout() {
  if (!hWnd() || panels_.empty()) return;
  Send(WM_SIZE);
  RECT client{};
  GetClientRect(hWnd(), &client);
  int total = client.right - GetSystemMetrics(SM_CXVSCROLL);
  std::vector<int> widths(panels_.size());
  HDC dc = GetDC(hWnd());
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(Send(WM_GETFONT)));
  int used = 0, springs = 0;
  for (size_t i = 0; i < panels_.size(); ++i) {
    const Panel& p = panels_[i];
    int w = PixelsX(p.width);
    if (p.size == Contents) {
      std::wstring s = Shown(p);
      SIZE ext{};
      GetTextExtentPoint32W(dc, s.c_str(), static_cast<int>(s.size()), &ext);
      w = ext.cx + 12 + (p.icon ? GetSystemMetrics(SM_CXSMICON) + 4 : 0);
    }
    if (p.size == Spring)
      ++springs;
    else
      used += w;
    widths[i] = w;
  }
  SelectObject(dc, old);
  ReleaseDC(hWnd(), dc);
  std::vector<int> edges(panels_.size());
  int x = 0, spare = total - used;
  for (size_t i = 0; i < panels_.size(); ++i) {
    int w = widths[i];
    if (panels_[i].size == Spring) w = std::max(w, springs ? spare / springs : 0);
    x += w;
    edges[i] = x;
  }
  Send(SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
  for (int i = 1; i <= PanelCount(); ++i) Paint(i);
  PlaceTips();
}

bool StatusBar::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == WM_TIMER && wp == kClockTimer) {
    for (int i = 1; i <= PanelCount(); ++i)
      if (panels_[i - 1].style != Text) Paint(i);
    result = 0;
    return true;
  }
  return Control::OnMessage(msg, wp, lp, result);
}

}  // namespace forms
