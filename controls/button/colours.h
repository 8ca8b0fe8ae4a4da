// Colour arithmetic of the button painters. Colours are 0x00BBGGRR; a value with the
// top bit set is a system-colour reference (0x80000000 | COLOR_xxx).
#pragma once
#include <cstdint>

namespace sorvbutton {

using Colour = std::uint32_t;

constexpr Colour SysColourRef(int index) { return 0x80000000u | Colour(index); }

// Nearest integer, exact halves to the even neighbour.
int RoundHalfEven(double v);

// r + 256 g + 65536 b with each component held within 0..255.
Colour MakeRGB(int r, int g, int b);
inline int RedOf(Colour c) { return int(c & 255); }
inline int GreenOf(Colour c) { return int((c >> 8) & 255); }
inline int BlueOf(Colour c) { return int((c >> 16) & 255); }

// Per channel (a + b) / 2 rounded half to even: 2.5 gives 2, 3.5 gives 4.
Colour BlendColors(Colour a, Colour b);
// Per channel amount + (255 - amount) * ch / 255, truncating.
Colour LightenColor(Colour c, int amount);
// Per channel ch + amount, held within 0..255.
Colour ShiftColor(Colour c, int amount);
// Plain average grey of a colour (the disabled masked icon).
Colour GreyOfColor(Colour c);
// Weighted grey of one icon pixel; the sixteen stock greys are kept as they are.
Colour GreyIconPixel(Colour c);

}  // namespace sorvbutton
