#include "colours.h"

#include <gtest/gtest.h>

using namespace sorvbutton;

TEST(Colours, BlendRoundsHalvesToEven) {
  EXPECT_EQ(BlendColors(0x000000, 0x030303), 0x020202u);  // 1.5 -> 2
  EXPECT_EQ(BlendColors(0x000000, 0x050505), 0x020202u);  // 2.5 -> 2
  EXPECT_EQ(BlendColors(0x000000, 0x070707), 0x040404u);  // 3.5 -> 4
  EXPECT_EQ(BlendColors(0x0000FF, 0xFF0000), MakeRGB(128, 0, 128));  // 127.5 -> 128
}

TEST(Colours, LightenEnds) {
  EXPECT_EQ(LightenColor(0x123456, 0), 0x123456u);
  EXPECT_EQ(LightenColor(0x123456, 255), 0xFFFFFFu);
  EXPECT_EQ(LightenColor(0x000000, 32), 0x202020u);
  EXPECT_EQ(LightenColor(0x000000, 176), 0xB0B0B0u);
  EXPECT_EQ(LightenColor(0xFFFFFF, 77), 0xFFFFFFu);
  // 32 + 223 * 100 / 255 = 32 + 87 (truncated)
  EXPECT_EQ(LightenColor(MakeRGB(100, 0, 0), 32), MakeRGB(119, 32, 32));
}

TEST(Colours, ShiftClampsEachChannel) {
  EXPECT_EQ(ShiftColor(0x10F0F0, 32), 0x30FFFFu);
  EXPECT_EQ(ShiftColor(0x10F0F0, -32), 0x00D0D0u);
  EXPECT_EQ(ShiftColor(0x000000, -200), 0x000000u);
  // A system-colour reference is shifted as its low three bytes.
  EXPECT_EQ(ShiftColor(SysColourRef(15), 10), MakeRGB(25, 10, 10));
}

TEST(Colours, Greys) {
  EXPECT_EQ(GreyOfColor(MakeRGB(30, 60, 90)), 0x3C3C3Cu);
  EXPECT_EQ(GreyOfColor(MakeRGB(1, 1, 2)), 0x010101u);  // 1.33 -> 1
  EXPECT_EQ(GreyIconPixel(0x0000FF), 0x545454u);        // 84.15 -> 84
  EXPECT_EQ(GreyIconPixel(0x909090), 0x949494u);        // 0x90 is not a stock grey
  EXPECT_EQ(GreyIconPixel(0xA0A0A0), 0xA0A0A0u);
  EXPECT_EQ(GreyIconPixel(0xFFFFFF), 0xFFFFFFu);
  EXPECT_EQ(GreyIconPixel(0xF8F8F8), 0xFFFFFFu);        // 255.44 held at 255
}

TEST(Colours, RoundHalfEven) {
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(3.5), 4);
  EXPECT_EQ(RoundHalfEven(-0.5), 0);
  EXPECT_EQ(RoundHalfEven(10.51), 11);
}
