#include <gtest/gtest.h>

#include "icons.h"
#include "painters.h"
#include "primitives.h"
#include "surface.h"

using namespace sorvbutton;
using namespace sorvbutton::test;

TEST(Primitives, LinesLeaveTheirEndPoint) {
  MemSurface s(20, 20);
  DrawLine(s.dc(), 2, 5, 10, 5, 0x0000FF);
  EXPECT_EQ(s.At(2, 5), 0x0000FFu);
  EXPECT_EQ(s.At(9, 5), 0x0000FFu);
  EXPECT_EQ(s.At(10, 5), 0xFF00FFu);
  // A box reaches x + w and y + h.
  DrawBox(s.dc(), 1, 1, 5, 4, 0x00FF00);
  EXPECT_EQ(s.At(6, 5), 0x00FF00u);
  EXPECT_EQ(s.At(3, 3), 0xFF00FFu);
  // Fills leave the right and bottom edge out.
  FillBox(s.dc(), 12, 12, 3, 3, 0x123456);
  EXPECT_EQ(s.At(14, 14), 0x123456u);
  EXPECT_EQ(s.At(15, 14), 0xFF00FFu);
}

TEST(Primitives, GradientsEndOnTheirLastColour) {
  MemSurface s(30, 30);
  DrawGradientV(s.dc(), 0x000000, 0x0A0A0A, 0, 2, 5, 10);  // eleven rows, one step each
  for (int i = 0; i <= 10; ++i) EXPECT_EQ(s.At(0, 2 + i), Grey(i)) << i;
  EXPECT_EQ(s.At(0, 13), 0xFF00FFu);
  EXPECT_EQ(s.At(5, 2), 0xFF00FFu);
  // Uneven steps still land on the exact last colour.
  DrawGradientV(s.dc(), 0x0000FF, 0xFF0000, 10, 0, 12, 7);
  EXPECT_EQ(s.At(10, 0), 0x0000FFu);
  EXPECT_EQ(s.At(10, 7), 0xFF0000u);
  DrawGradientH(s.dc(), 0x000000, 0x202020, 0, 20, 8, 21);  // columns 0..8, one pixel each
  EXPECT_EQ(s.At(0, 20), Grey(0));
  EXPECT_EQ(s.At(8, 20), Grey(0x20));
  EXPECT_EQ(s.At(4, 20), Grey(0x10));
  EXPECT_EQ(s.At(4, 21), 0xFF00FFu);
  // A count of 0 is skipped rather than dividing by it.
  DrawGradientV(s.dc(), 0, 0, 20, 25, 25, 0);
  EXPECT_EQ(s.At(20, 25), 0xFF00FFu);
}

TEST(Primitives, EtchedFrame) {
  MemSurface s(20, 20);
  DrawEtchedFrame(s.dc(), 0, 0, 10, 5, 0x808080, 0xFFFFFF, 0x0000FF);
  EXPECT_EQ(s.At(0, 0), 0x808080u);   // outer from (0, 0)
  EXPECT_EQ(s.At(9, 3), 0x808080u);   // to (9, 4)
  EXPECT_EQ(s.At(10, 5), 0xFFFFFFu);  // inner to (10, 5)
  EXPECT_EQ(s.At(0, 5), 0x0000FFu);   // corner pixels
  EXPECT_EQ(s.At(10, 0), 0x0000FFu);
  EXPECT_EQ(s.At(1, 4), BlendColors(0xFFFFFF, 0x808080));
  EXPECT_EQ(s.At(9, 1), BlendColors(0xFFFFFF, 0x808080));
}

TEST(Primitives, GreyIcon) {
  MemSurface s(40, 40);
  HICON icon = MakeIcon(0x0000FF, 0x909090);
  EXPECT_FALSE(PaintIconGrayscale(nullptr, icon, 0, 0, 16, 16));
  EXPECT_FALSE(PaintIconGrayscale(s.dc(), nullptr, 0, 0, 16, 16));
  EXPECT_EQ(s.At(5, 5), 0xFF00FFu);
  ASSERT_TRUE(PaintIconGrayscale(s.dc(), icon, 10, 10, 16, 16));
  EXPECT_EQ(s.At(10, 10), 0x545454u);  // red: 0.33 * 255 rounded
  EXPECT_EQ(s.At(13, 13), 0x949494u);  // 0x90 is not one of the kept greys
  EXPECT_EQ(s.At(26, 26), 0xFF00FFu);
  DestroyIcon(icon);
}

TEST(Primitives, Regions) {
  HRGN cut = CutCornerRegion(40, 20);
  EXPECT_FALSE(PtInRegion(cut, 0, 0));
  EXPECT_TRUE(PtInRegion(cut, 1, 1));
  EXPECT_TRUE(PtInRegion(cut, 20, 10));
  DeleteObject(cut);
  HRGN wide = CutCornerRegionWide(40, 20);
  EXPECT_FALSE(PtInRegion(wide, 1, 0));
  EXPECT_TRUE(PtInRegion(wide, 3, 1));
  DeleteObject(wide);
  HRGN round = RoundRegion(100, 40);
  RECT box;
  GetRgnBox(round, &box);
  // Made one pixel larger than the client area each way, so no edge column is cut off.
  EXPECT_GE(box.right, 100);
  EXPECT_GE(box.bottom, 40);
  EXPECT_TRUE(PtInRegion(round, 99, 20));
  EXPECT_TRUE(PtInRegion(round, 50, 39));
  EXPECT_FALSE(PtInRegion(round, 0, 0));
  DeleteObject(round);
}
