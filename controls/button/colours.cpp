#include "colours.h"

#include <cmath>

namespace sorvbutton {

int RoundHalfEven(double v) {
  // The default floating-point rounding mode rounds ties to even.
  return int(std::nearbyint(v));
}

static int Clamp(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }

Colour MakeRGB(int r, int g, int b) {
  return Colour(Clamp(r)) | Colour(Clamp(g)) << 8 | Colour(Clamp(b)) << 16;
}

Colour BlendColors(Colour a, Colour b) {
  return MakeRGB(RoundHalfEven((RedOf(a) + RedOf(b)) / 2.0),
                 RoundHalfEven((GreenOf(a) + GreenOf(b)) / 2.0),
                 RoundHalfEven((BlueOf(a) + BlueOf(b)) / 2.0));
}

Colour LightenColor(Colour c, int amount) {
  auto ch = [amount](int v) { return amount + (255 - amount) * v / 255; };
  return MakeRGB(ch(RedOf(c)), ch(GreenOf(c)), ch(BlueOf(c)));
}

Colour ShiftColor(Colour c, int amount) {
  return MakeRGB(RedOf(c) + amount, GreenOf(c) + amount, BlueOf(c) + amount);
}

Colour GreyOfColor(Colour c) {
  int v = RoundHalfEven(RedOf(c) / 3.0 + GreenOf(c) / 3.0 + BlueOf(c) / 3.0);
  return MakeRGB(v, v, v);
}

Colour GreyIconPixel(Colour c) {
  c &= 0xFFFFFF;
  if (RedOf(c) == GreenOf(c) && GreenOf(c) == BlueOf(c)) {
    int v = RedOf(c);
    // 0x00..0x80 and 0xA0..0xF0 in steps of 0x10, and white; 0x90 is not one of them.
    if (v == 255 || (v % 16 == 0 && v != 0x90)) return c;
  }
  int v = RoundHalfEven(0.33 * RedOf(c) + 0.59 * GreenOf(c) + 0.11 * BlueOf(c));
  return MakeRGB(v, v, v);
}

}  // namespace sorvbutton
