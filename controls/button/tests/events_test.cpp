// Events driven by real window messages sent to the control's window.
#include <gtest/gtest.h>

#include "host.h"

#include <uxtheme.h>

using namespace sorvbutton;
using namespace sorvbutton::test;

namespace {

// A loaded control in run mode, as a form at run time has it.
struct Loaded {
  HostWindow host;
  SorvButton b;
  EventCount events;
  explicit Loaded(bool userMode = true, int style = 0) {
    b.container.UserMode = userMode;
    events.Wire(b);
    b.Create(host.hwnd, 10, 10, 90, 30);
    PropertyBag bag;
    bag.WriteAlways<std::int32_t>("Style", style);
    b.ReadProperties(bag);
  }
  HWND w() const { return b.Window(); }
  void LeftClick() {
    Send(w(), WM_LBUTTONDOWN, MK_LBUTTON);
    Send(w(), WM_LBUTTONUP);
  }
};

}  // namespace

TEST(Events, MouseClicks) {
  Loaded c;
  c.LeftClick();
  EXPECT_EQ(c.events.click, 1);
  EXPECT_EQ(c.b.ButtonState(), StateHot);
  Send(c.w(), WM_RBUTTONDOWN, MK_RBUTTON);
  Send(c.w(), WM_RBUTTONUP);
  EXPECT_EQ(c.events.click, 1);
  // Down, up, double click, up: one Click.
  Send(c.w(), WM_LBUTTONDOWN, MK_LBUTTON);
  Send(c.w(), WM_LBUTTONUP);
  Send(c.w(), WM_LBUTTONDBLCLK, MK_LBUTTON);
  EXPECT_EQ(c.b.ButtonState(), StatePressed);
  Send(c.w(), WM_LBUTTONUP);
  EXPECT_EQ(c.events.click, 2);
  // A release outside the control completes no click.
  Send(c.w(), WM_LBUTTONDOWN, MK_LBUTTON);
  Send(c.w(), WM_LBUTTONUP, 0, MAKELPARAM(500, 5));
  EXPECT_EQ(c.events.click, 2);
}

TEST(Events, Keyboard) {
  Loaded c;
  // Space before any mouse click: one Click.
  Send(c.w(), WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(c.b.ButtonState(), StatePressed);
  Send(c.w(), WM_CHAR, ' ', 0);
  Send(c.w(), WM_KEYUP, VK_SPACE, 0);
  EXPECT_EQ(c.events.click, 1);
  EXPECT_EQ(c.b.ButtonState(), StateHot);
  Send(c.w(), WM_KEYDOWN, VK_RETURN, 0);
  Send(c.w(), WM_CHAR, '\r', 0);
  Send(c.w(), WM_KEYUP, VK_RETURN, 0);
  EXPECT_EQ(c.events.click, 1);
  // After a right click the next Space still clicks.
  Send(c.w(), WM_RBUTTONDOWN, MK_RBUTTON);
  Send(c.w(), WM_RBUTTONUP);
  Send(c.w(), WM_KEYDOWN, VK_SPACE, 0);
  Send(c.w(), WM_CHAR, ' ', 0);
  Send(c.w(), WM_KEYUP, VK_SPACE, 0);
  EXPECT_EQ(c.events.click, 2);
}

TEST(Events, AccessKeyAndArrows) {
  Loaded c;
  c.b.Caption(L"保存(&S)");
  EXPECT_EQ(c.b.AccessKey(), L'S');
  c.b.Caption(L"A && B");
  EXPECT_EQ(c.b.AccessKey(), 0);
  c.b.UserControl_AccessKeyPress();
  EXPECT_EQ(c.events.click, 1);
  EXPECT_EQ(c.b.ButtonState(), StateNormal);

  SorvButton second;
  second.Create(c.host.hwnd, 10, 60, 90, 30);
  second.ReadProperties(PropertyBag{});
  SetFocus(c.w());
  EXPECT_TRUE(c.b.HasFocus());
  Send(c.w(), WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(GetFocus(), second.Window());
  EXPECT_FALSE(c.b.HasFocus());
  Send(second.Window(), WM_KEYDOWN, VK_LEFT, 0);
  EXPECT_EQ(GetFocus(), c.w());
}

TEST(Events, ToggleButton) {
  Loaded c;
  c.b.ButtonType(1);
  Send(c.w(), WM_LBUTTONDOWN, MK_LBUTTON);
  Send(c.w(), WM_LBUTTONUP);
  EXPECT_TRUE(c.b.Value());
  EXPECT_EQ(c.b.ButtonState(), StatePressed);  // drawn down while Value is true
  c.LeftClick();
  EXPECT_FALSE(c.b.Value());
  EXPECT_EQ(c.b.ButtonState(), StateHot);
  EXPECT_EQ(c.events.click, 2);
}

TEST(Events, MinimumSizeIs300Twips) {
  Loaded c;
  SetWindowPos(c.w(), nullptr, 0, 0, 3, 90, SWP_NOMOVE | SWP_NOZORDER);
  RECT rc;
  GetClientRect(c.w(), &rc);
  HDC screen = GetDC(nullptr);
  int twipsPerPixel = 1440 / GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(rc.right * twipsPerPixel, 300);
  EXPECT_EQ(rc.bottom, 90);
}

TEST(Events, HoverRaisesEnterAndLeaveOnce) {
  Loaded c;
  ASSERT_TRUE(c.b.IsSubclassed());
  c.b.ContainerToolTipText(L"挂载选中的加密盘");
  for (int i = 0; i < 5; ++i) Send(c.w(), WM_MOUSEMOVE, 0, MAKELPARAM(5 + i, 5));
  EXPECT_EQ(c.events.enter, 1);
  EXPECT_TRUE(c.b.IsOver());
  EXPECT_EQ(c.b.ButtonState(), StateHot);
  ASSERT_NE(c.b.TipWindow(), nullptr);
  EXPECT_TRUE(GetWindowLongW(c.b.TipWindow(), GWL_STYLE) & TTS_BALLOON);
  EXPECT_EQ(c.b.ContainerToolTipText(), L"");  // set aside while the tip shows
  Send(c.w(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(c.events.leave, 1);
  EXPECT_EQ(c.b.ButtonState(), StateNormal);
  EXPECT_EQ(c.b.TipWindow(), nullptr);
  EXPECT_EQ(c.b.ContainerToolTipText(), L"挂载选中的加密盘");

  c.b.ToolTipType(0);
  Send(c.w(), WM_LBUTTONDOWN, MK_LBUTTON);  // a leave resets even the pressed look
  Send(c.w(), WM_MOUSEMOVE);
  ASSERT_NE(c.b.TipWindow(), nullptr);
  EXPECT_FALSE(GetWindowLongW(c.b.TipWindow(), GWL_STYLE) & TTS_BALLOON);
  Send(c.w(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(c.b.ButtonState(), StateNormal);
  EXPECT_EQ(c.events.enter, 2);
  EXPECT_EQ(c.events.leave, 2);
  Send(c.w(), WM_LBUTTONUP);
}

TEST(Events, TooltipTitleColoursAndText) {
  Loaded c;
  c.b.ContainerToolTipText(L"tip");
  c.b.ToolTipIcon(1);
  c.b.ToolTipTitle(L"说明");
  c.b.ToolTipForeColor(RGB(0, 0, 128));
  Send(c.w(), WM_MOUSEMOVE);
  HWND tip = c.b.TipWindow();
  ASSERT_NE(tip, nullptr);
  EXPECT_EQ(SendMessageW(tip, TTM_GETTIPTEXTCOLOR, 0, 0), RGB(0, 0, 128));
  EXPECT_EQ(SendMessageW(tip, TTM_GETTIPBKCOLOR, 0, 0), LRESULT(GetSysColor(COLOR_INFOBK)));
  wchar_t text[64] = L"";
  TTTOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.hwnd = c.w();
  ti.lpszText = text;
  SendMessageW(tip, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&ti));
  EXPECT_STREQ(text, L"tip");
  Send(c.w(), WM_MOUSELEAVE, 0, 0);
}

TEST(Events, DesignModeHasNoHover) {
  Loaded c(false);
  EXPECT_FALSE(c.b.IsSubclassed());
  Send(c.w(), WM_MOUSEMOVE);
  EXPECT_EQ(c.events.enter, 0);
  EXPECT_EQ(c.b.ButtonState(), StateHot);  // the designer shows the hot look
}

TEST(Events, RepaintsWithoutStateChange) {
  Loaded c;
  int before = c.b.RefreshCount();
  Send(c.w(), WM_SYSCOLORCHANGE, 0, 0);
  EXPECT_EQ(c.b.RefreshCount(), before + 1);
  Send(c.w(), WM_THEMECHANGED, 0, 0);
  EXPECT_EQ(c.b.RefreshCount(), before + 2);
  EXPECT_EQ(c.b.ButtonState(), StateNormal);
  EXPECT_FALSE(c.b.IsOver());
  c.b.UserControl_AmbientChanged(L"DisplayAsDefault");
  EXPECT_EQ(c.b.RefreshCount(), before + 3);
  c.b.UserControl_AmbientChanged(L"BackColor");
  EXPECT_EQ(c.b.RefreshCount(), before + 3);
  c.b.MousePointer(2);
  EXPECT_EQ(c.b.RefreshCount(), before + 3);
  c.b.Value(true);
  EXPECT_EQ(c.b.RefreshCount(), before + 4);
}

TEST(Events, EnabledAndDisabled) {
  Loaded c;
  Send(c.w(), WM_MOUSEMOVE);
  c.b.Enabled(false);
  EXPECT_FALSE(IsWindowEnabled(c.w()));
  EXPECT_EQ(c.b.ButtonState(), StateDisabled);
  c.b.Enabled(true);
  EXPECT_TRUE(IsWindowEnabled(c.w()));
  Send(c.w(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(c.b.ButtonState(), StateNormal);
}

TEST(Events, ThemedStyleOrItsFallBack) {
  Loaded c(true, 6);
  c.b.NonThemeStyle(2);
  c.b.Refresh();
  if (IsThemeActive())
    EXPECT_EQ(c.b.Style(), 6);
  else
    EXPECT_EQ(c.b.Style(), 2);
}

TEST(Events, ShownAndHidden) {
  Loaded c;
  c.b.ToolTipText(L"说明");
  ShowWindow(c.w(), SW_HIDE);
  c.b.ContainerToolTipText(L"");
  ShowWindow(c.w(), SW_SHOW);
  ShowWindow(c.w(), SW_HIDE);
  EXPECT_EQ(c.b.ContainerToolTipText(), L"说明");  // hiding gives the container the text
}
