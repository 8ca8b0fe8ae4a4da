// Each style in each state painted into a memory bitmap; chosen pixels checked against
// the coordinates and colour rules of the style.
#include <gtest/gtest.h>

#include "painters.h"
#include "style10_looks.h"
#include "surface.h"

using namespace sorvbutton;
using namespace sorvbutton::test;

namespace {

ButtonProps StyleProps(int style, bool custom = false, Colour back = 0, Colour hl = 0) {
  ButtonProps p;
  p.Style = style;
  p.UseCustomColors = custom;
  p.BackColor = back;
  p.HighlightColor = hl;
  p.FontColor = 0;
  p.FontHighlightColor = 0;
  return p;
}

ButtonProps Custom(int style, Colour back, Colour hl = RGB(0, 0, 200)) {
  return StyleProps(style, true, back, hl);
}

}  // namespace

TEST(PaintStyles, Style0EdgesAndDefaultFrame) {
  Rendered normal(60, 30, StyleProps(0), StateNormal);
  EXPECT_EQ(normal.At(30, 15), SysC(COLOR_BTNFACE));
  EXPECT_EQ(normal.At(59, 29), SysC(COLOR_3DDKSHADOW));
  EXPECT_EQ(normal.At(58, 28), SysC(COLOR_BTNSHADOW));
  EXPECT_EQ(normal.At(1, 1), SysC(COLOR_BTNHIGHLIGHT));
  Rendered pressed(60, 30, StyleProps(0), StatePressed);
  EXPECT_EQ(pressed.At(0, 0), SysC(COLOR_BTNSHADOW));
  EXPECT_EQ(pressed.At(59, 29), SysC(COLOR_BTNHIGHLIGHT));
  Rendered hot(60, 30, Custom(0, RGB(10, 20, 30), RGB(200, 100, 50)), StateHot);
  EXPECT_EQ(hot.At(30, 15), RGB(200, 100, 50));
  // The black frame: shown for the default button without focus, or focused with ShowFocus.
  Rendered asDefault(60, 30, StyleProps(0), StateNormal, false, Ambient{true, true});
  EXPECT_EQ(asDefault.At(0, 0), 0u);
  EXPECT_EQ(asDefault.At(59, 29), 0u);
  Rendered focusedNoShow(60, 30, StyleProps(0), StateNormal, true, Ambient{true, true});
  EXPECT_NE(focusedNoShow.At(0, 0), 0u);
  ButtonProps show = StyleProps(0);
  show.ShowFocus = true;
  Rendered focusedShow(60, 30, show, StateNormal, true);
  EXPECT_EQ(focusedShow.At(0, 0), 0u);
  // Only style 0 draws it.
  Rendered style1(60, 30, StyleProps(1), StateNormal, false, Ambient{true, true});
  EXPECT_NE(style1.At(0, 0), 0u);
}

TEST(PaintStyles, Styles1And2) {
  const Colour back = RGB(100, 110, 120), hl = RGB(220, 210, 200);
  Rendered n1(50, 24, Custom(1, back, hl), StateNormal);
  EXPECT_EQ(n1.At(25, 12), back);
  EXPECT_EQ(n1.At(0, 0), SysC(COLOR_BTNHIGHLIGHT));
  Rendered h1(50, 24, Custom(1, back, hl), StateHot);
  EXPECT_EQ(h1.At(25, 12), hl);
  Rendered p1(50, 24, Custom(1, back, hl), StatePressed);
  EXPECT_EQ(p1.At(0, 0), SysC(COLOR_BTNSHADOW));
  ButtonProps off = Custom(1, back, hl);
  off.Enabled = false;
  Rendered d1(50, 24, off, StateNormal);
  EXPECT_EQ(d1.At(0, 0), back);  // an outline in the face colour, no edge
  EXPECT_EQ(d1.At(49, 23), back);
  Rendered n2(50, 24, Custom(2, back, hl), StateNormal);
  EXPECT_EQ(n2.At(0, 0), back);
  EXPECT_EQ(n2.At(49, 23), back);
  Rendered h2(50, 24, Custom(2, back, hl), StateHot);
  EXPECT_EQ(h2.At(0, 0), SysC(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(h2.At(49, 23), SysC(COLOR_BTNSHADOW));
}

TEST(PaintStyles, Style3EtchedFrameAndBlend) {
  const Colour back = RGB(100, 100, 100), hl = RGB(201, 201, 201);
  Rendered hot(50, 24, Custom(3, back, hl), StateHot);
  EXPECT_EQ(hot.At(25, 12), Grey(150));  // (100 + 201) / 2 = 150.5 -> 150
  EXPECT_EQ(hot.At(0, 0), SysC(COLOR_BTNSHADOW));
  EXPECT_EQ(hot.At(1, 1), SysC(COLOR_WINDOW));
  EXPECT_EQ(hot.At(49, 0), Grey(150));   // corner pixels in the fill colour
  EXPECT_EQ(hot.At(0, 23), Grey(150));
  EXPECT_EQ(hot.At(48, 1), BlendColors(SysC(COLOR_WINDOW), SysC(COLOR_BTNSHADOW)));
  Rendered pressed(50, 24, Custom(3, back, hl), StatePressed);
  EXPECT_EQ(pressed.At(25, 12), hl);
  Rendered normal(50, 24, Custom(3, back, hl), StateNormal);
  EXPECT_EQ(normal.At(25, 12), back);
  EXPECT_EQ(normal.At(2, 2), back);  // the face outside the inner box is the base colour
  Rendered sysHot(50, 24, StyleProps(3), StateHot);
  EXPECT_EQ(sysHot.At(25, 12), BlendColors(SysC(COLOR_BTNSHADOW), SysC(COLOR_BTNFACE)));
}

TEST(PaintStyles, Style4LightenedFills) {
  const Colour back = RGB(0, 0, 0), hl = RGB(0, 0, 255);
  Rendered normal(50, 24, Custom(4, back, hl), StateNormal);
  EXPECT_EQ(normal.At(0, 0), 0x202020u);
  EXPECT_EQ(normal.At(49, 23), 0x202020u);
  Rendered hot(50, 24, Custom(4, back, hl), StateHot);
  EXPECT_EQ(hot.At(25, 12), LightenColor(hl, 176));
  EXPECT_EQ(hot.At(0, 0), hl);
  EXPECT_EQ(hot.At(49, 23), hl);
  Rendered pressed(50, 24, Custom(4, back, hl), StatePressed);
  EXPECT_EQ(pressed.At(25, 12), LightenColor(hl, 128));
  Rendered sysHot(50, 24, StyleProps(4), StateHot);
  EXPECT_EQ(sysHot.At(0, 0), SysC(COLOR_HIGHLIGHT));
}

TEST(PaintStyles, Style5Fixed) {
  const int W = 60, H = 24;
  Rendered normal(W, H, StyleProps(5), StateNormal);
  EXPECT_EQ(normal.At(10, 0), 0x743C00u);
  EXPECT_EQ(normal.At(0, 10), 0x743C00u);
  EXPECT_EQ(normal.At(1, 1), 0x906E48u);      // set A
  EXPECT_EQ(normal.At(W - 1, 1), 0xA28B6Au);  // set B
  EXPECT_EQ(normal.At(2, 1), 0xCAC7BFu);      // set C
  EXPECT_EQ(normal.At(10, 1), 0xFBFCFCu);     // first body row
  EXPECT_EQ(normal.At(10, H - 1), 0x743C00u);
  // Custom colours do not reach the fixed painter.
  Rendered customOff(W, H, StyleProps(5, false, RGB(1, 2, 3), RGB(4, 5, 6)), StateNormal);
  EXPECT_EQ(customOff.At(10, 1), 0xFBFCFCu);
  Rendered hot(W, H, StyleProps(5), StateHot);
  EXPECT_EQ(hot.At(10, 1), 0xCFF0FFu);
  EXPECT_EQ(hot.At(10, 2), 0x89D8FDu);
  EXPECT_EQ(hot.At(10, H - 3), 0x30B3F8u);
  EXPECT_EQ(hot.At(10, H - 2), 0x1097E5u);
  EXPECT_EQ(hot.At(1, 2), 0x89D8FDu);  // side ramp, first row
  // Focus ring in the normal state, whatever ShowFocus says.
  Rendered focused(W, H, StyleProps(5), StateNormal, true);
  EXPECT_EQ(focused.At(10, 1), 0xFFE7CEu);
  EXPECT_EQ(focused.At(10, H - 2), 0xEE8269u);
  Rendered pressed(W, H, StyleProps(5), StatePressed);
  EXPECT_EQ(pressed.At(10, 1), 0xC1CCD1u);
  EXPECT_EQ(pressed.At(10, 0), 0x743C00u);
  ButtonProps off = StyleProps(5);
  off.Enabled = false;
  Rendered disabled(W, H, off, StateNormal, true);
  EXPECT_EQ(disabled.At(30, 12), 0xEAF4F5u);
  EXPECT_EQ(disabled.At(10, 0), 0xBAC7C9u);
  EXPECT_EQ(disabled.At(1, 1), 0xC7D5D8u);
  EXPECT_EQ(disabled.At(10, 1), 0xEAF4F5u);  // no ring, no frame lines
}

TEST(PaintStyles, Style5Custom) {
  const int W = 60, H = 24;
  Rendered hotBlack(W, H, Custom(5, RGB(128, 128, 128), 0x000000), StateHot);
  EXPECT_EQ(hotBlack.At(10, 1), 0x555555u);
  EXPECT_EQ(hotBlack.At(10, 2), 0x454545u);
  EXPECT_EQ(hotBlack.At(10, H - 3), 0x101010u);
  EXPECT_EQ(hotBlack.At(10, H - 2), 0x000000u);
  Rendered white(W, H, Custom(5, 0xFFFFFF), StateNormal);
  EXPECT_EQ(white.At(10, 1), 0xFFFFFFu);
  EXPECT_EQ(white.At(10, 0), 0x7F7F7Fu);
  EXPECT_EQ(white.At(W - 2, H - 3), 0xDFDFDFu);  // third ramp ends on column W-2 only
  EXPECT_NE(white.At(W - 3, H - 4), 0xDFDFDFu);
  // Focus without ShowFocus: no ring in the custom painter.
  Rendered focused(W, H, Custom(5, 0xFFFFFF), StateNormal, true);
  EXPECT_EQ(focused.At(10, 2), ShiftColor(0xFFFFFF, 2));
  Rendered pressed(W, H, Custom(5, RGB(100, 100, 100)), StatePressed);
  EXPECT_EQ(pressed.At(1, 2), Grey(52));
  EXPECT_EQ(pressed.At(1, 1), Grey(4));  // set A in S(B, -96)
}

TEST(PaintStyles, Style6FallsBackWithoutTheme) {
  // No window to take a theme from: the same road as a system without visual styles.
  ButtonProps p = StyleProps(6);
  p.NonThemeStyle = 4;
  Rendered first(50, 24, p, StateNormal);
  EXPECT_EQ(first.p.Style, 4);
  EXPECT_EQ(first.At(0, 0), SysC(COLOR_BTNFACE));  // this paint: the plain face
  Rendered next(50, 24, first.p, StateNormal);
  EXPECT_EQ(next.At(0, 0), LightenColor(SysC(COLOR_BTNFACE), 32));
}

TEST(PaintStyles, Style7) {
  const int W = 60, H = 33;  // ramp of 30 steps: one level a row
  Rendered normal(W, H, Custom(7, RGB(200, 200, 200), RGB(0, 0, 100)), StateNormal);
  EXPECT_EQ(normal.At(30, 10), Grey(223 - 9));
  EXPECT_EQ(normal.At(10, 0), Grey(112));      // frame
  EXPECT_EQ(normal.At(1, 1), Grey(112));
  EXPECT_EQ(normal.At(0, 1), Grey(179));       // softened corners
  EXPECT_EQ(normal.At(10, 1), Grey(221));      // inner top line
  EXPECT_EQ(normal.At(10, H - 2), Grey(163));  // inner bottom line
  EXPECT_EQ(normal.At(0, 0), Grey(208));       // never painted: K shows
  EXPECT_EQ(normal.At(W - 1, 0), Grey(112));
  Rendered focused(W, H, Custom(7, RGB(200, 200, 200), RGB(0, 0, 100)), StateNormal, true);
  EXPECT_EQ(focused.At(10, 1), ShiftColor(RGB(0, 0, 100), 21));
  EXPECT_EQ(focused.At(10, H - 2), ShiftColor(RGB(0, 0, 100), -21));
  Rendered hot(W, H, Custom(7, RGB(200, 200, 200), RGB(0, 0, 100)), StateHot);
  EXPECT_EQ(hot.At(0, 0), Grey(224));  // K = S(BASE, +24)
  EXPECT_EQ(hot.At(1, 2), ShiftColor(RGB(0, 0, 100), 21));
  Rendered pressed(W, H, Custom(7, RGB(200, 200, 200)), StatePressed);
  EXPECT_EQ(pressed.At(10, 1), Grey(179));     // S(BASE, -21)
  EXPECT_EQ(pressed.At(10, H - 2), Grey(208));  // S(BASE, +8)
  EXPECT_EQ(pressed.At(0, 0), 0xFF00FFu);       // the pressed look keeps the old background
}

TEST(PaintStyles, Style8) {
  const int W = 60, H = 36;  // ramp of 30 steps
  const Colour back = RGB(200, 200, 200);
  Rendered normal(W, H, Custom(8, back), StateNormal);
  EXPECT_EQ(normal.At(30, 2), Grey(215));
  EXPECT_EQ(normal.At(30, H - 4), Grey(185));
  EXPECT_EQ(normal.At(30, 1), Grey(255));
  EXPECT_EQ(normal.At(30, 0), Grey(152));
  EXPECT_EQ(normal.At(30, H - 1), Grey(173));     // shadow
  EXPECT_EQ(normal.At(W - 3, H - 1), Grey(188));  // outer diagonal
  EXPECT_EQ(normal.At(W - 4, H - 1), Grey(173));
  Rendered focused(W, H, Custom(8, back), StateNormal, true);
  EXPECT_EQ(focused.At(30, 0), Grey(104));
  EXPECT_EQ(focused.At(30, H - 1), Grey(125));
  EXPECT_EQ(focused.At(30, 2), Grey(215));
  Rendered hot(W, H, Custom(8, back, RGB(50, 60, 70)), StateHot);
  ButtonProps off = Custom(8, back, RGB(50, 60, 70));
  off.Enabled = false;
  Rendered disabled(W, H, off, StateNormal);
  for (POINT pt : {POINT{30, 1}, POINT{30, 10}, POINT{1, 10}, POINT{30, 0}})
    EXPECT_EQ(hot.At(pt.x, pt.y), disabled.At(pt.x, pt.y));
  EXPECT_EQ(hot.At(30, 0), Grey(152));  // frame from BASE even when hot
  Rendered pressed(W, H, Custom(8, back, RGB(50, 60, 70)), StatePressed);
  EXPECT_EQ(pressed.At(30, 2), ShiftColor(RGB(50, 60, 70), -15));
  EXPECT_EQ(pressed.At(30, H - 3), ShiftColor(RGB(50, 60, 70), 96));
}

TEST(PaintStyles, Style9) {
  const int W = 60, H = 30;
  Rendered normal(W, H, Custom(9, RGB(200, 200, 200)), StateNormal);
  EXPECT_EQ(normal.At(0, 0), Grey(255));
  EXPECT_EQ(normal.At(0, H - 4), Grey(57));
  EXPECT_EQ(normal.At(30, 0), Grey(233));
  EXPECT_EQ(normal.At(30, H - 2), Grey(57));
  EXPECT_EQ(normal.At(1, H - 3), Grey(73));
  EXPECT_EQ(normal.At(W - 3, H - 3), Grey(73));
  EXPECT_EQ(normal.At(1, H / 2), Grey(185));  // column 1 is never painted
  Rendered focused(W, H, Custom(9, RGB(200, 200, 200)), StateNormal, true);
  for (int y = 0; y < H; ++y) EXPECT_EQ(normal.At(5, y), focused.At(5, y));
  Rendered hot(W, H, Custom(9, RGB(200, 200, 200), RGB(10, 20, 30)), StateHot);
  EXPECT_EQ(hot.At(1, H / 2), RGB(11, 21, 31));
  // Heights whose step counts come out 0 still paint without failing.
  for (int h = 1; h <= 16; ++h) Rendered tiny(W, h, Custom(9, RGB(200, 200, 200)), StateNormal);
}

TEST(PaintStyles, Style10Looks) {
  Rendered normal(100, 40, StyleProps(10), StateNormal);
  EXPECT_EQ(normal.At(50, 20), Hex(0xE8E7EA));
  EXPECT_EQ(normal.At(50, 0), Hex(0x6A6967));
  EXPECT_EQ(normal.At(50, 38), Hex(0x545454));
  EXPECT_EQ(normal.At(50, 39), Hex(0xC5C5C5));
  EXPECT_EQ(normal.At(1, 20), Hex(0xA0A0A0));
  EXPECT_EQ(normal.At(98, 20), Hex(0x9C9C9C));
  EXPECT_EQ(normal.At(6, 0), Hex(0xFEFEFE));  // top-left row 0 starts at column 6
  EXPECT_EQ(normal.At(16, 0), Hex(0x6B6D6C));
  EXPECT_EQ(normal.At(5, 0), 0xFF00FFu);      // outside the rounded outline
  EXPECT_EQ(normal.At(3, 38), Hex(0xFEFEFE));  // bottom-left row H-2
  EXPECT_EQ(normal.At(11, 34), 0xFF00FFu);     // a hole of the normal look
  for (int x = 0; x <= 10; ++x) EXPECT_NE(normal.At(x, 10), 0xFF00FFu);  // row 10 meets the edge
  Rendered hotByFocus(100, 40, StyleProps(10), StateNormal, true);
  EXPECT_EQ(hotByFocus.At(50, 20), Hex(0x6AA6E2));
  EXPECT_EQ(hotByFocus.At(5, 5), Hex(0x003AA1));
  Rendered pressed(100, 40, StyleProps(10), StatePressed);
  EXPECT_EQ(pressed.At(50, 20), Hex(0x6A9BCC));
  EXPECT_EQ(pressed.At(50, 0), Hex(0x0A093C));
  ButtonProps off = StyleProps(10);
  off.Enabled = false;
  Rendered disabled(100, 40, off, StateNormal);
  EXPECT_EQ(disabled.At(50, 20), Hex(0xE8E7EA));
  Rendered custom(100, 40, Custom(10, RGB(1, 2, 3), RGB(4, 5, 6)), StateNormal);
  for (POINT pt : {POINT{50, 20}, POINT{3, 5}, POINT{97, 37}})
    EXPECT_EQ(custom.At(pt.x, pt.y), normal.At(pt.x, pt.y));
}

TEST(PaintState, OverridesOfTheState) {
  ButtonProps off = StyleProps(0);
  off.Enabled = false;
  Rendered disabled(50, 24, off, StatePressed);
  EXPECT_EQ(disabled.st.ButtonState, StateDisabled);
  ButtonProps toggle = StyleProps(0);
  toggle.ButtonType = 1;
  toggle.Value = true;
  Rendered down(50, 24, toggle, StateNormal);
  EXPECT_EQ(down.st.ButtonState, StatePressed);
  Rendered design(50, 24, StyleProps(1), StateNormal, false, Ambient{false, false});
  EXPECT_EQ(design.st.ButtonState, StateHot);
  Rendered design5(50, 24, StyleProps(5), StateNormal, false, Ambient{false, false});
  EXPECT_EQ(design5.st.ButtonState, StateNormal);
  ButtonProps p = StyleProps(0);
  p.Caption = L"hidden";
  MemSurface s(50, 24);
  PaintState st;
  st.IsShown = false;
  RenderButton(s.canvas, p, st, Ambient{}, nullptr, nullptr);
  EXPECT_EQ(s.At(0, 0), 0xFF00FFu);  // only cleared: nothing drawn before it is shown
}

TEST(PaintIcons, Placement) {
  EXPECT_EQ(IconPosition(2, 75, 30, 24, 4).x, 47);
  EXPECT_EQ(IconPosition(2, 75, 30, 24, 7).x, 44);  // style 9's margin
  EXPECT_EQ(IconPosition(0, 21, 21, 16, 4).x, 2);   // W - S = 5: 2.5 -> 2
  EXPECT_EQ(IconPosition(0, 23, 23, 16, 4).x, 4);   // W - S = 7: 3.5 -> 4
  EXPECT_EQ(IconPosition(4, 40, 40, 16, 5).y, 19);
  EXPECT_EQ(IconPosition(9, 40, 40, 16, 5).x, 0);
}

TEST(PaintIcons, StatesMasksAndGrey) {
  const COLORREF red = 0x0000FF, spot = 0xFF00FF;  // spot: the mask colour at (3, 3)
  HICON icon = MakeIcon(red, spot);
  ButtonProps p = StyleProps(0);
  p.Icon = icon;
  p.IconSize = 16;
  p.IconAlign = 2;  // x = 75 - 16 - 4 = 55, y = 7
  Rendered normal(75, 30, p, StateNormal);
  EXPECT_EQ(normal.At(55, 7), red);
  EXPECT_NE(normal.At(54, 7), red);
  p.Style = 9;  // margin 7
  Rendered nine(75, 30, p, StateNormal);
  EXPECT_EQ(nine.At(52, 7), red);
  EXPECT_NE(nine.At(51, 7), red);
  p.Style = 0;
  Rendered pressed(75, 30, p, StatePressed);
  EXPECT_NE(pressed.At(55, 7), red);
  EXPECT_EQ(pressed.At(56, 8), red);
  // Mask colour: transparent with UseMaskColor, drawn without.
  EXPECT_EQ(normal.At(58, 10), spot);
  p.UseMaskColor = true;
  p.MaskColor = spot;
  Rendered masked(75, 30, p, StateNormal);
  EXPECT_EQ(masked.At(58, 10), SysC(COLOR_BTNFACE));
  EXPECT_EQ(masked.At(55, 7), red);
  p.Enabled = false;
  Rendered maskedGrey(75, 30, p, StateNormal);
  EXPECT_EQ(maskedGrey.At(55, 7), GreyOfColor(red));
  EXPECT_EQ(maskedGrey.At(58, 10), SysC(COLOR_BTNFACE));
  p.UseMaskColor = false;
  Rendered grey(75, 30, p, StateNormal);
  EXPECT_EQ(grey.At(55, 7), 0x545454u);
  // Hot style 4: grey shadow where the icon rests, the icon two pixels up-left.
  p.Enabled = true;
  p.Style = 4;
  Rendered hot4(75, 30, p, StateHot);
  EXPECT_EQ(hot4.At(53, 5), red);
  EXPECT_EQ(hot4.At(70, 22), 0x808080u);  // (55 + 15, 7 + 15): shadow only
  EXPECT_NE(hot4.At(71, 23), 0x808080u);
  DestroyIcon(icon);
}

TEST(PaintCaption, WideTextAndColours) {
  ButtonProps p = StyleProps(1, true, RGB(255, 255, 255), RGB(255, 255, 255));
  p.Caption = L"确定保存";
  p.FontColor = RGB(255, 0, 0);
  p.FontHighlightColor = RGB(0, 0, 255);
  auto count = [](const Rendered& r, COLORREF c) {
    int n = 0;
    for (int x = 4; x < 96; ++x)
      for (int y = 4; y < 26; ++y) n += r.At(x, y) == c;
    return n;
  };
  Rendered normal(100, 30, p, StateNormal);
  EXPECT_GT(count(normal, RGB(255, 0, 0)), 10);
  Rendered hot(100, 30, p, StateHot);
  EXPECT_GT(count(hot, RGB(0, 0, 255)), 10);
  EXPECT_EQ(count(hot, RGB(255, 0, 0)), 0);
  p.Enabled = false;
  Rendered off(100, 30, p, StateNormal);
  EXPECT_GT(count(off, SysC(COLOR_GRAYTEXT)), 10);
}
