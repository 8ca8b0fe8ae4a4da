// Each style in each state painted into a memory bitmap; chosen pixels checked against
// the coordinates and colour rules of the style.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "painters.h"
#include "style10_looks.h"
#include "surface.h"

using namespace sorvbutton;
using namespace sorvbutton::test;

namespace {

const COLORREF kUnpainted = 0xFF00FF, kRed = 0x0000FF;

ButtonProps P(int style, bool showFocus = false) {
  ButtonProps p;
  p.Style = style;
  p.ShowFocus = showFocus;
  return p;
}

ButtonProps C(int style, Colour back, Colour hl = RGB(0, 0, 200)) {
  ButtonProps p = P(style);
  p.UseCustomColors = true;
  p.BackColor = back;
  p.HighlightColor = hl;
  return p;
}

// A 16-pixel red icon at the right (x = 75 - 16 - margin, y = 7); (3, 3) in the mask colour.
ButtonProps WithIcon(int style, bool useMask) {
  static HICON icon = MakeIcon(kRed, kUnpainted);
  ButtonProps p = P(style);
  p.Icon = icon;
  p.IconAlign = 2;
  p.UseMaskColor = useMask;
  p.MaskColor = kUnpainted;
  return p;
}

struct Pix {
  int x, y;
  COLORREF c;
  bool equal = true;  // false: the pixel must differ from c
};

struct Look {
  const char* name;
  ButtonProps p;
  int state;
  bool focus;
  int W, H;
  std::vector<Pix> pixels;
  Ambient amb{};
};

}  // namespace

TEST(PaintStyles, ChosenPixelsOfEveryStyleAndState) {
  const COLORREF face = SysC(COLOR_BTNFACE), light = SysC(COLOR_BTNHIGHLIGHT),
                 shadow = SysC(COLOR_BTNSHADOW), window = SysC(COLOR_WINDOW);
  const int N = StateNormal, Hot = StateHot, Down = StatePressed, Off = StateDisabled;
  const Colour b1 = RGB(100, 110, 120), h1 = RGB(220, 210, 200), b3 = Grey(100), h3 = Grey(201),
               blue = RGB(0, 0, 255), h7 = RGB(0, 0, 100), h8 = RGB(50, 60, 70);
  const Look looks[] = {
      {"0 normal",
       P(0),
       N,
       false,
       60,
       30,
       {{30, 15, face}, {59, 29, SysC(COLOR_3DDKSHADOW)}, {58, 28, shadow}, {1, 1, light}}},
      {"0 pressed", P(0), Down, false, 60, 30, {{0, 0, shadow}, {59, 29, light}}},
      {"0 hot custom",
       C(0, RGB(10, 20, 30), RGB(200, 100, 50)),
       Hot,
       false,
       60,
       30,
       {{30, 15, RGB(200, 100, 50)}}},
      {"0 disabled custom",
       C(0, RGB(10, 20, 30), RGB(200, 100, 50)),
       Off,
       false,
       60,
       30,
       {{30, 15, RGB(200, 100, 50)}}},
      // The black frame: the default button without focus, or focused with ShowFocus.
      {"0 default", P(0), N, false, 60, 30, {{0, 0, 0}, {59, 29, 0}}, {true, true}},
      {"0 default focused", P(0), N, true, 60, 30, {{0, 0, 0, false}}, {true, true}},
      {"0 ShowFocus", P(0, true), N, true, 60, 30, {{0, 0, 0}}},
      {"1 default", P(1), N, false, 60, 30, {{0, 0, 0, false}}, {true, true}},
      {"1 normal", C(1, b1, h1), N, false, 50, 24, {{25, 12, b1}, {0, 0, light}}},
      {"1 hot", C(1, b1, h1), Hot, false, 50, 24, {{25, 12, h1}}},
      {"1 pressed", C(1, b1, h1), Down, false, 50, 24, {{0, 0, shadow}}},
      {"1 disabled", C(1, b1, h1), Off, false, 50, 24, {{0, 0, b1}, {49, 23, b1}}},
      {"2 normal", C(2, b1, h1), N, false, 50, 24, {{0, 0, b1}, {49, 23, b1}}},
      {"2 hot", C(2, b1, h1), Hot, false, 50, 24, {{0, 0, light}, {49, 23, shadow}}},
      {"2 pressed",
       C(2, b1, h1),
       Down,
       false,
       50,
       24,
       {{25, 12, h1}, {0, 0, shadow}, {49, 23, light}}},
      {"2 disabled", C(2, b1, h1), Off, false, 50, 24, {{0, 0, b1}, {49, 23, b1}}},
      // Style 3 hot: (100 + 201) / 2 = 150.5 -> 150; an etched frame with fill-coloured corners.
      {"3 hot",
       C(3, b3, h3),
       Hot,
       false,
       50,
       24,
       {{25, 12, Grey(150)},
        {0, 0, shadow},
        {1, 1, window},
        {49, 0, Grey(150)},
        {0, 23, Grey(150)},
        {48, 1, BlendColors(window, shadow)}}},
      {"3 pressed", C(3, b3, h3), Down, false, 50, 24, {{25, 12, h3}}},
      {"3 normal", C(3, b3, h3), N, false, 50, 24, {{25, 12, b3}, {2, 2, b3}}},
      {"3 disabled", C(3, b3, h3), Off, false, 50, 24, {{25, 12, b3}, {0, 0, shadow}}},
      {"3 hot system", P(3), Hot, false, 50, 24, {{25, 12, BlendColors(shadow, face)}}},
      {"4 normal", C(4, 0, blue), N, false, 50, 24, {{0, 0, 0x202020}, {49, 23, 0x202020}}},
      {"4 hot",
       C(4, 0, blue),
       Hot,
       false,
       50,
       24,
       {{25, 12, LightenColor(blue, 176)}, {0, 0, blue}, {49, 23, blue}}},
      {"4 pressed", C(4, 0, blue), Down, false, 50, 24, {{25, 12, LightenColor(blue, 128)}}},
      {"4 disabled", C(4, 0, blue), Off, false, 50, 24, {{0, 0, 0x202020}, {49, 23, 0x202020}}},
      {"4 hot system", P(4), Hot, false, 50, 24, {{0, 0, SysC(COLOR_HIGHLIGHT)}}},
      // Style 5 without custom colours: fixed colours, sets A, B and C at the corners.
      {"5 normal",
       P(5),
       N,
       false,
       60,
       24,
       {{10, 0, 0x743C00},
        {0, 10, 0x743C00},
        {1, 1, 0x906E48},
        {59, 1, 0xA28B6A},
        {2, 1, 0xCAC7BF},
        {10, 1, 0xFBFCFC},
        {10, 20, 0xE6EBEB},  // the bottom ramp, its last step under the frame
        {10, 21, 0xDBE2E4},
        {10, 22, 0xD0D9DD},
        {10, 23, 0x743C00}}},
      {"5 hot",
       P(5),
       Hot,
       false,
       60,
       24,
       {{10, 1, 0xCFF0FF},
        {10, 2, 0x89D8FD},
        {10, 21, 0x30B3F8},
        {10, 22, 0x1097E5},
        {1, 2, 0x89D8FD},
        {10, 20, 0xE6EBEB}}},
      {"5 focused, ring without ShowFocus",
       P(5),
       N,
       true,
       60,
       24,
       {{10, 1, 0xFFE7CE},
        {10, 2, 0xF6D4BC},
        {10, 21, 0xE4AD89},
        {10, 22, 0xEE8269},
        {58, 2, 0xF6D4BC},
        {1, 21, 0xE4AD89},
        {10, 20, 0xE6EBEB}}},
      {"5 pressed",
       P(5),
       Down,
       false,
       60,
       24,
       {{10, 1, 0xC1CCD1},
        {10, 0, 0x743C00},
        {10, 20, 0xDBE2E3},
        {10, 21, 0xE1E7E8},
        {10, 22, 0xE8ECED},
        {10, 23, 0x743C00}}},
      {"5 disabled, no ring",
       P(5),
       Off,
       true,
       60,
       24,
       {{30, 12, 0xEAF4F5},
        {10, 0, 0xBAC7C9},
        {1, 1, 0xC7D5D8},
        {10, 1, 0xEAF4F5},
        {10, 22, 0xEAF4F5},
        {10, 23, 0xBAC7C9}}},
      {"5 custom hot",
       C(5, Grey(128), 0),
       Hot,
       false,
       60,
       24,
       {{10, 1, 0x555555},
        {10, 2, 0x454545},
        {10, 21, 0x101010},
        {10, 22, 0},
        {10, 20, Grey(112)}}},
      // The third ramp ends on column W-2 only.
      {"5 custom normal",
       C(5, 0xFFFFFF),
       N,
       false,
       60,
       24,
       {{10, 1, 0xFFFFFF},
        {10, 0, 0x7F7F7F},
        {58, 21, 0xDFDFDF},
        {57, 20, 0xDFDFDF, false},
        {10, 20, 0xEFEFEF},
        {10, 21, 0xE7E7E7},
        {10, 22, 0xDADADA}}},
      {"5 custom pressed",
       C(5, Grey(100)),
       Down,
       false,
       60,
       24,
       {{1, 2, Grey(52)},
        {1, 1, Grey(4)},
        {10, 20, Grey(95)},
        {10, 21, Grey(98)},
        {10, 22, Grey(102)},
        {10, 23, Grey(0)}}},
      // Style 7, 33 high: a ramp of 30 steps, one level a row; (0, 0) never painted shows K.
      {"7 normal",
       C(7, Grey(200), h7),
       N,
       false,
       60,
       33,
       {{30, 10, Grey(214)},
        {10, 0, Grey(112)},
        {1, 1, Grey(112)},
        {0, 1, Grey(179)},
        {10, 1, Grey(221)},
        {10, 31, Grey(163)},
        {0, 0, Grey(208)},
        {59, 0, Grey(112)}}},
      {"7 focused",
       C(7, Grey(200), h7),
       N,
       true,
       60,
       33,
       {{10, 1, ShiftColor(h7, 21)}, {10, 31, ShiftColor(h7, -21)}}},
      {"7 hot",
       C(7, Grey(200), h7),
       Hot,
       false,
       60,
       33,
       {{0, 0, Grey(224)}, {1, 2, ShiftColor(h7, 21)}}},
      {"7 pressed keeps the old background",
       C(7, Grey(200), h7),
       Down,
       false,
       60,
       33,
       {{10, 1, Grey(179)}, {10, 31, Grey(208)}, {0, 0, kUnpainted}}},
      {"7 disabled",
       C(7, Grey(200), h7),
       Off,
       false,
       60,
       33,
       {{0, 0, Grey(218)}, {0, 1, Grey(205)}}},
      {"8 normal",
       C(8, Grey(200)),
       N,
       false,
       60,
       36,
       {{30, 2, Grey(215)},
        {30, 32, Grey(185)},
        {30, 1, Grey(255)},
        {30, 0, Grey(152)},
        {30, 35, Grey(173)},
        {57, 35, Grey(188)},
        {56, 35, Grey(173)}}},
      {"8 focused",
       C(8, Grey(200)),
       N,
       true,
       60,
       36,
       {{30, 0, Grey(104)}, {30, 35, Grey(125)}, {30, 2, Grey(215)}}},
      {"8 hot: frame from BASE", C(8, Grey(200), h8), Hot, false, 60, 36, {{30, 0, Grey(152)}}},
      {"8 pressed",
       C(8, Grey(200), h8),
       Down,
       false,
       60,
       36,
       {{30, 2, ShiftColor(h8, -15)}, {30, 33, ShiftColor(h8, 96)}}},
      {"9 normal: column 1 never painted",
       C(9, Grey(200)),
       N,
       false,
       60,
       30,
       {{0, 0, Grey(255)},
        {0, 26, Grey(57)},
        {30, 0, Grey(233)},
        {30, 28, Grey(57)},
        {1, 27, Grey(73)},
        {57, 27, Grey(73)},
        {1, 15, Grey(185)}}},
      {"9 hot", C(9, Grey(200), RGB(10, 20, 30)), Hot, false, 60, 30, {{1, 15, RGB(11, 21, 31)}}},
      {"9 pressed",
       C(9, Grey(200), RGB(10, 20, 30)),
       Down,
       false,
       60,
       30,
       {{1, 15, RGB(34, 44, 54)}}},
      {"9 disabled", C(9, Grey(200)), Off, false, 60, 30, {{1, 15, Grey(215)}}},
      // Style 10: top-left row 0 starts at column 6, (11, 34) is a hole, row 10 meets the edge.
      {"10 normal",
       P(10),
       N,
       false,
       100,
       40,
       {{50, 20, Hex(0xE8E7EA)},
        {50, 0, Hex(0x6A6967)},
        {50, 38, Hex(0x545454)},
        {50, 39, Hex(0xC5C5C5)},
        {1, 20, Hex(0xA0A0A0)},
        {98, 20, Hex(0x9C9C9C)},
        {6, 0, Hex(0xFEFEFE)},
        {16, 0, Hex(0x6B6D6C)},
        {5, 0, kUnpainted},
        {3, 38, Hex(0xFEFEFE)},
        {11, 34, kUnpainted},
        {0, 10, kUnpainted, false}}},
      {"10 focused looks hot",
       P(10),
       N,
       true,
       100,
       40,
       {{50, 20, Hex(0x6AA6E2)}, {5, 5, Hex(0x003AA1)}}},
      {"10 pressed",
       P(10),
       Down,
       false,
       100,
       40,
       {{50, 20, Hex(0x6A9BCC)}, {50, 0, Hex(0x0A093C)}}},
      {"10 disabled", P(10), Off, false, 100, 40, {{50, 20, Hex(0xE8E7EA)}}},
      // Icons: halves of the margin, the pressed offset, the mask colour, grey when disabled.
      {"icon",
       WithIcon(0, false),
       N,
       false,
       75,
       30,
       {{55, 7, kRed}, {54, 7, kRed, false}, {58, 10, kUnpainted}}},
      {"icon style 9 margin",
       WithIcon(9, false),
       N,
       false,
       75,
       30,
       {{52, 7, kRed}, {51, 7, kRed, false}}},
      {"icon pressed",
       WithIcon(0, false),
       Down,
       false,
       75,
       30,
       {{55, 7, kRed, false}, {56, 8, kRed}}},
      {"icon masked", WithIcon(0, true), N, false, 75, 30, {{58, 10, face}, {55, 7, kRed}}},
      {"icon masked grey",
       WithIcon(0, true),
       Off,
       false,
       75,
       30,
       {{55, 7, GreyOfColor(kRed)}, {58, 10, face}}},
      {"icon grey", WithIcon(0, false), Off, false, 75, 30, {{55, 7, 0x545454}}},
      // Style 4 hot: a grey shadow where the icon rests, the icon two pixels up-left.
      {"icon style 4 hot",
       WithIcon(4, false),
       Hot,
       false,
       75,
       30,
       {{53, 5, kRed}, {70, 22, 0x808080}, {71, 23, 0x808080, false}}},
  };
  for (const Look& l : looks) {
    SCOPED_TRACE(l.name);
    Rendered r(l.W, l.H, l.p, l.state, l.focus, l.amb);
    for (const Pix& px : l.pixels) {
      if (px.equal)
        EXPECT_EQ(r.At(px.x, px.y), px.c) << "(" << px.x << ", " << px.y << ")";
      else
        EXPECT_NE(r.At(px.x, px.y), px.c) << "(" << px.x << ", " << px.y << ")";
    }
  }
}

TEST(PaintStyles, LooksThatPaintAlike) {
  auto differ = [](const Rendered& a, const Rendered& b) {
    int n = 0;
    for (int y = 0; y <= a.st.ClientRect.bottom; ++y)
      for (int x = 0; x <= a.st.ClientRect.right; ++x) n += a.At(x, y) != b.At(x, y);
    return n;
  };
  const Colour grey = Grey(200), hl = RGB(50, 60, 70);
  EXPECT_EQ(differ(Rendered(60, 36, C(8, grey, hl), StateHot),
                   Rendered(60, 36, C(8, grey, hl), StateDisabled)),
            0)
      << "style 8 hot paints as disabled";
  EXPECT_EQ(differ(Rendered(60, 30, C(9, grey), StateNormal, true),
                   Rendered(60, 30, C(9, grey), StateNormal)),
            0)
      << "style 9 shows no focus";
  EXPECT_EQ(differ(Rendered(100, 40, C(10, RGB(1, 2, 3), RGB(4, 5, 6)), StateNormal),
                   Rendered(100, 40, P(10), StateNormal)),
            0)
      << "style 10 takes no custom colours";
  // Heights whose step counts come out 0 still paint without failing.
  for (int h = 1; h <= 16; ++h) Rendered tiny(60, h, C(9, grey), StateNormal);
}

TEST(PaintStyles, Style6FallsBackWithoutTheme) {
  // No window to take a theme from: the same road as a system without visual styles.
  ButtonProps p = P(6);
  p.NonThemeStyle = 4;
  Rendered first(50, 24, p, StateNormal);
  EXPECT_EQ(first.p.Style, 4);
  EXPECT_EQ(first.At(0, 0), SysC(COLOR_BTNFACE));  // this paint: the plain face
  Rendered next(50, 24, first.p, StateNormal);
  EXPECT_EQ(next.At(0, 0), LightenColor(SysC(COLOR_BTNFACE), 32));
}

TEST(PaintState, OverridesOfTheState) {
  ButtonProps off = P(0);
  off.Enabled = false;
  const Ambient design{false, false};
  EXPECT_EQ(Rendered(50, 24, off, StatePressed).st.ButtonState, StateDisabled);
  EXPECT_EQ(Rendered(50, 24, P(1), StateNormal, false, design).st.ButtonState, StateHot);
  EXPECT_EQ(Rendered(50, 24, P(5), StateNormal, false, design).st.ButtonState, StateNormal);
  MemSurface s(50, 24);
  ButtonProps p = P(0);
  p.Caption = L"hidden";
  PaintState hidden;
  RenderButton(s.canvas, p, hidden, Ambient{}, nullptr, nullptr);
  EXPECT_EQ(s.At(0, 0), kUnpainted);  // only cleared: nothing drawn before it is shown
}

TEST(PaintIcons, PlacementRoundsHalvesToEven) {
  EXPECT_EQ(IconPosition(0, 21, 21, 16, 4).x, 2);  // W - S = 5: 2.5 -> 2
  EXPECT_EQ(IconPosition(0, 23, 23, 16, 4).x, 4);  // W - S = 7: 3.5 -> 4
  EXPECT_EQ(IconPosition(9, 40, 40, 16, 5).x, 0);  // an unknown alignment: the corner
}

TEST(PaintCaption, WideTextAndColours) {
  ButtonProps p = C(1, 0xFFFFFF, 0xFFFFFF);
  p.Caption = L"确定保存";
  p.FontColor = RGB(255, 0, 0);
  p.FontHighlightColor = RGB(0, 0, 255);
  auto count = [&p](int state, COLORREF c) {
    Rendered r(100, 30, p, state);
    int n = 0;
    for (int x = 4; x < 96; ++x)
      for (int y = 4; y < 26; ++y) n += r.At(x, y) == c;
    return n;
  };
  EXPECT_GT(count(StateNormal, RGB(255, 0, 0)), 10);
  EXPECT_GT(count(StateHot, RGB(0, 0, 255)), 10);
  EXPECT_EQ(count(StateHot, RGB(255, 0, 0)), 0);
  EXPECT_GT(count(StateDisabled, SysC(COLOR_GRAYTEXT)), 10);
}

// Where the corner blocks meet the top and bottom edges (columns 16|17 and W-17|W-18) the two
// pixels of a row differ by at most 3 levels in each channel, in every look.
TEST(PaintStyles, Style10CornersMeetTheEdgesWithoutAStep) {
  const int W = 100, H = 40;
  auto step = [](COLORREF a, COLORREF b) {
    return std::max({std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
                     std::abs(GetBValue(a) - GetBValue(b))});
  };
  ButtonProps p = P(10);
  p.Caption = L"";
  for (int state : {StateNormal, StateHot, StatePressed}) {
    Rendered r(W, H, p, state);
    for (int y = 0; y < H; y = y == 10 ? H - 10 : y + 1)
      for (auto [corner, edge] : {std::pair{16, 17}, std::pair{W - 17, W - 18}}) {
        // The normal look's top-left row 0 is a fixed row ending one step of 5 from the
        // edge; its holes show the background.
        if ((state == StateNormal && y == 0 && corner == 16) || r.At(corner, y) == kUnpainted)
          continue;
        EXPECT_LE(step(r.At(corner, y), r.At(edge, y)), 3)
            << "state " << state << " row " << y << " columns " << corner << "|" << edge;
      }
  }
}
