#include "colours.h"

#include <gtest/gtest.h>

using namespace sorvbutton;

TEST(Colours, RoundingAndClamping) {
  const struct {
    const char* what;
    Colour got, want;
  } rows[] = {
      {"blend 1.5 -> 2", BlendColors(0x000000, 0x030303), 0x020202},
      {"blend 2.5 -> 2", BlendColors(0x000000, 0x050505), 0x020202},
      {"blend 3.5 -> 4", BlendColors(0x000000, 0x070707), 0x040404},
      {"blend 127.5 -> 128", BlendColors(0x0000FF, 0xFF0000), MakeRGB(128, 0, 128)},
      {"lighten by 0", LightenColor(0x123456, 0), 0x123456},
      {"lighten by 255", LightenColor(0x123456, 255), 0xFFFFFF},
      {"lighten white", LightenColor(0xFFFFFF, 77), 0xFFFFFF},
      {"lighten truncates", LightenColor(MakeRGB(100, 0, 0), 32), MakeRGB(119, 32, 32)},
      {"shift clamps high", ShiftColor(0x10F0F0, 32), 0x30FFFF},
      {"shift clamps low", ShiftColor(0x10F0F0, -32), 0x00D0D0},
      {"shift a system colour", ShiftColor(SysColourRef(15), 10), MakeRGB(25, 10, 10)},
      {"grey average", GreyOfColor(MakeRGB(30, 60, 90)), 0x3C3C3C},
      {"grey 1.33 -> 1", GreyOfColor(MakeRGB(1, 1, 2)), 0x010101},
      {"icon grey of red", GreyIconPixel(0x0000FF), 0x545454},
      {"icon grey 0x90 not stock", GreyIconPixel(0x909090), 0x949494},
      {"icon grey stock kept", GreyIconPixel(0xA0A0A0), 0xA0A0A0},
      {"icon grey 255.44 held", GreyIconPixel(0xF8F8F8), 0xFFFFFF},
  };
  for (const auto& r : rows) EXPECT_EQ(r.got, r.want) << r.what;
  EXPECT_EQ(RoundHalfEven(-0.5), 0);
  EXPECT_EQ(RoundHalfEven(10.51), 11);
}
