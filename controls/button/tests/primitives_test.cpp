#include <gtest/gtest.h>

#include "icons.h"
#include "painters.h"
#include "primitives.h"
#include "surface.h"

using namespace sorvbutton;
using namespace sorvbutton::test;

TEST(Primitives, LinesBoxesGradientsAndFrames) {
  MemSurface s(40, 40);
  DrawLine(s.dc(), 2, 5, 10, 5, 0x0000FF);                   // the end point is left out
  DrawBox(s.dc(), 1, 10, 5, 4, 0x00FF00);                    // reaches x + w, y + h
  FillBox(s.dc(), 12, 12, 3, 3, 0x123456);                   // leaves right and bottom out
  DrawGradientV(s.dc(), 0x000000, 0x0A0A0A, 20, 2, 25, 10);  // eleven rows, one step each
  DrawGradientV(s.dc(), 0x0000FF, 0xFF0000, 30, 0, 32, 7);   // uneven steps
  DrawGradientH(s.dc(), 0x000000, 0x202020, 0, 20, 8, 21);   // columns 0..8
  DrawGradientV(s.dc(), 0, 0, 20, 25, 25, 0);                // a count of 0: skipped
  DrawEtchedFrame(s.dc(), 10, 28, 10, 5, 0x808080, 0xFFFFFF, 0x0000FF);
  const COLORREF none = 0xFF00FF, blend = BlendColors(0xFFFFFF, 0x808080);
  const struct {
    int x, y;
    COLORREF want;
  } pixels[] = {
      {2, 5, 0x0000FF},    {9, 5, 0x0000FF},   {10, 5, none},      {6, 14, 0x00FF00},
      {3, 12, none},       {14, 14, 0x123456}, {15, 14, none},     {20, 2, Grey(0)},
      {20, 7, Grey(5)},    {20, 12, Grey(10)}, {20, 13, none},     {25, 2, none},
      {30, 0, 0x0000FF},   {30, 7, 0xFF0000},  {0, 20, Grey(0)},   {8, 20, Grey(0x20)},
      {4, 20, Grey(0x10)}, {4, 21, none},      {20, 25, none},     {10, 28, 0x808080},
      {19, 31, 0x808080},  {20, 33, 0xFFFFFF}, {10, 33, 0x0000FF}, {20, 28, 0x0000FF},
      {11, 32, blend},     {19, 29, blend},
  };
  for (const auto& p : pixels) EXPECT_EQ(s.At(p.x, p.y), p.want) << p.x << ", " << p.y;
}

TEST(Primitives, GreyIcon) {
  MemSurface s(40, 40);
  HICON icon = MakeIcon(0x0000FF, 0x909090);
  EXPECT_FALSE(PaintIconGrayscale(nullptr, icon, 0, 0, 16, 16));
  EXPECT_FALSE(PaintIconGrayscale(s.dc(), nullptr, 0, 0, 16, 16));
  ASSERT_TRUE(PaintIconGrayscale(s.dc(), icon, 10, 10, 16, 16));
  EXPECT_EQ(s.At(13, 13), 0x949494u);  // 0x90 is not one of the kept greys
  EXPECT_EQ(s.At(26, 26), 0xFF00FFu);
  DestroyIcon(icon);
}

TEST(Primitives, Regions) {
  HRGN cut = CutCornerRegion(40, 20), wide = CutCornerRegionWide(40, 20),
       round = RoundRegion(100, 40);
  EXPECT_FALSE(PtInRegion(cut, 0, 0));
  EXPECT_TRUE(PtInRegion(cut, 1, 1));
  EXPECT_FALSE(PtInRegion(wide, 1, 0));
  EXPECT_TRUE(PtInRegion(wide, 3, 1));
  // One pixel larger than the client area each way, so no edge column is cut off.
  EXPECT_TRUE(PtInRegion(round, 99, 20));
  EXPECT_TRUE(PtInRegion(round, 50, 39));
  EXPECT_FALSE(PtInRegion(round, 0, 0));
  for (HRGN r : {cut, wide, round}) DeleteObject(r);
}
