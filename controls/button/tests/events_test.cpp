// Events driven by real window messages sent to the control's window.
#include <gtest/gtest.h>

#include <vector>

#include "host.h"

using namespace sorvbutton;
using namespace sorvbutton::test;

namespace {

// A loaded control in run mode, as a form at run time has it.
struct Loaded {
  HostWindow host;
  SorvButton b;
  EventCount events;
  explicit Loaded(bool userMode = true) {
    b.container.UserMode = userMode;
    events.Wire(b);
    b.Create(host.hwnd, 10, 10, 90, 30);
    PropertyBag bag;
    bag.WriteAlways<std::int32_t>("Style", 0);
    b.ReadProperties(bag);
  }
  HWND w() const { return b.Window(); }
};

struct Msg {
  UINT m;
  WPARAM wp = 0;
  LPARAM lp = MAKELPARAM(5, 5);
};

}  // namespace

TEST(Events, ClicksFromMouseAndKeyboard) {
  const Msg down{WM_LBUTTONDOWN, MK_LBUTTON}, up{WM_LBUTTONUP}, dbl{WM_LBUTTONDBLCLK, MK_LBUTTON},
      upOutside{WM_LBUTTONUP, 0, MAKELPARAM(500, 5)}, rdown{WM_RBUTTONDOWN, MK_RBUTTON},
      rup{WM_RBUTTONUP}, spaceDown{WM_KEYDOWN, VK_SPACE, 0}, space{WM_CHAR, ' ', 0},
      spaceUp{WM_KEYUP, VK_SPACE, 0}, enterDown{WM_KEYDOWN, VK_RETURN, 0}, enter{WM_CHAR, '\r', 0},
      enterUp{WM_KEYUP, VK_RETURN, 0}, captureLost{WM_CAPTURECHANGED, 0, 0};
  const int any = 0;
  const struct {
    const char* name;
    std::vector<Msg> msgs;
    int clicks, state;
  } rows[] = {
      {"left click", {down, up}, 1, StateHot},
      {"right click", {rdown, rup}, 0, any},
      {"release outside", {down, upOutside}, 0, any},
      {"capture lost before the release", {down, captureLost, up}, 0, any},
      {"double click held", {down, up, dbl}, 1, StatePressed},
      {"double click: one Click", {down, up, dbl, up}, 1, StateHot},
      {"Space held", {spaceDown}, 0, StatePressed},
      {"Space", {spaceDown, space, spaceUp}, 1, StateHot},
      {"Enter", {enterDown, enter, enterUp}, 0, any},
      {"Space after a right click", {rdown, rup, spaceDown, space, spaceUp}, 1, any},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Loaded c;
    for (const Msg& m : row.msgs) Send(c.w(), m.m, m.wp, m.lp);
    EXPECT_EQ(c.events.click, row.clicks);
    if (row.state != any) {
      EXPECT_EQ(c.b.ButtonState(), row.state);
    }
  }
}

TEST(Events, ToggleButton) {
  Loaded c;
  c.b.ButtonType(1);
  Send(c.w(), WM_LBUTTONDOWN, MK_LBUTTON);
  Send(c.w(), WM_LBUTTONUP);
  EXPECT_TRUE(c.b.Value());
  EXPECT_EQ(c.b.ButtonState(), StatePressed);  // drawn down while Value is true
  Send(c.w(), WM_LBUTTONDOWN, MK_LBUTTON);
  Send(c.w(), WM_LBUTTONUP);
  EXPECT_FALSE(c.b.Value());
  EXPECT_EQ(c.b.ButtonState(), StateHot);
  EXPECT_EQ(c.events.click, 2);
}

TEST(Events, AccessKeyAndArrows) {
  Loaded c;
  c.b.Caption(L"保存(&S)");
  EXPECT_EQ(c.b.AccessKey(), L'S');
  c.b.Caption(L"A && B");
  EXPECT_EQ(c.b.AccessKey(), 0);

  // Two buttons in a bar (a frame that holds tab stops) after c.b, one after the bar: the
  // arrows go where Tab / Shift+Tab go in the window, in and out of the bar.
  HWND bar =
      CreateWindowExW(WS_EX_CONTROLPARENT, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0,
                      50, 300, 60, c.host.hwnd, nullptr, nullptr, nullptr);
  SorvButton inBar[2], after;
  inBar[0].Create(bar, 10, 10, 90, 30);
  inBar[1].Create(bar, 110, 10, 90, 30);
  after.Create(c.host.hwnd, 10, 120, 90, 30);
  const struct {
    UINT key;
    HWND from, to;
  } moves[] = {
      {VK_RIGHT, c.w(), inBar[0].Window()},
      {VK_RIGHT, inBar[0].Window(), inBar[1].Window()},
      {VK_RIGHT, inBar[1].Window(), after.Window()},
      {VK_RIGHT, after.Window(), c.w()},
      {VK_LEFT, inBar[0].Window(), c.w()},
      {VK_LEFT, c.w(), after.Window()},
      {VK_LEFT, after.Window(), inBar[1].Window()},
  };
  for (const auto& m : moves) {
    SetFocus(m.from);
    Send(m.from, WM_KEYDOWN, m.key, 0);
    EXPECT_EQ(GetFocus(), m.to) << (m.key == VK_RIGHT ? "right" : "left");
  }
  EXPECT_FALSE(c.b.HasFocus());
}

TEST(Events, HoverRaisesEnterAndLeaveOnceAndShowsTheTip) {
  Loaded c;
  ASSERT_TRUE(c.b.IsSubclassed());
  c.b.ContainerToolTipText(L"挂载选中的加密盘");
  c.b.ToolTipTitle(L"说明");
  c.b.ToolTipForeColor(RGB(0, 0, 128));
  for (int i = 0; i < 5; ++i) Send(c.w(), WM_MOUSEMOVE, 0, MAKELPARAM(5 + i, 5));
  EXPECT_EQ(c.events.enter, 1);
  EXPECT_EQ(c.b.ButtonState(), StateHot);
  HWND tip = c.b.TipWindow();
  ASSERT_NE(tip, nullptr);
  EXPECT_TRUE(GetWindowLongW(tip, GWL_STYLE) & TTS_BALLOON);
  EXPECT_EQ(SendMessageW(tip, TTM_GETTIPTEXTCOLOR, 0, 0), RGB(0, 0, 128));
  // The back colour's default is the system tooltip-text colour, and it is sent.
  EXPECT_EQ(SendMessageW(tip, TTM_GETTIPBKCOLOR, 0, 0), LRESULT(GetSysColor(COLOR_INFOTEXT)));
  wchar_t text[64] = L"";
  TTTOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.hwnd = c.w();
  ti.lpszText = text;
  SendMessageW(tip, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&ti));
  EXPECT_STREQ(text, L"挂载选中的加密盘");
  EXPECT_EQ(c.b.ContainerToolTipText(), L"");  // set aside while the tip shows
  Send(c.w(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(c.events.leave, 1);
  EXPECT_EQ(c.b.ButtonState(), StateNormal);
  EXPECT_EQ(c.b.TipWindow(), nullptr);
  EXPECT_EQ(c.b.ContainerToolTipText(), L"挂载选中的加密盘");

  c.b.ToolTipType(0);
  Send(c.w(), WM_LBUTTONDOWN, MK_LBUTTON);  // a leave resets even the pressed look
  Send(c.w(), WM_MOUSEMOVE);
  EXPECT_FALSE(GetWindowLongW(c.b.TipWindow(), GWL_STYLE) & TTS_BALLOON);
  Send(c.w(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(c.b.ButtonState(), StateNormal);
  EXPECT_EQ(c.events.enter, 2);
}

TEST(Events, DesignModeHasNoHover) {
  Loaded c(false);
  EXPECT_FALSE(c.b.IsSubclassed());
  Send(c.w(), WM_MOUSEMOVE);
  EXPECT_EQ(c.events.enter, 0);
  EXPECT_EQ(c.b.ButtonState(), StateHot);  // the designer shows the hot look
}

TEST(Events, EnabledShownAndHidden) {
  Loaded c;
  Send(c.w(), WM_MOUSEMOVE);
  c.b.Enabled(false);
  EXPECT_FALSE(IsWindowEnabled(c.w()));
  EXPECT_EQ(c.b.ButtonState(), StateDisabled);
  c.b.Enabled(true);
  EXPECT_TRUE(IsWindowEnabled(c.w()));
  Send(c.w(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(c.b.ButtonState(), StateNormal);

  c.b.ToolTipText(L"说明");
  ShowWindow(c.w(), SW_HIDE);
  c.b.ContainerToolTipText(L"");
  ShowWindow(c.w(), SW_SHOW);
  ShowWindow(c.w(), SW_HIDE);
  EXPECT_EQ(c.b.ContainerToolTipText(), L"说明");  // hiding gives the container the text
}
