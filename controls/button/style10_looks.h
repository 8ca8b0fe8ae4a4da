// The three fixed looks of style 10. Colours here are written 0xRRGGBB, as a designer
// reads them; Hex() turns them into drawing colours.
#pragma once
#include <cstdint>

#include "colours.h"

namespace sorvbutton {

constexpr Colour Hex(std::uint32_t rrggbb) {
  return ((rrggbb >> 16) & 0xFF) | (rrggbb & 0xFF00) | ((rrggbb & 0xFF) << 16);
}

struct Look10 {
  std::uint32_t centre;
  std::uint32_t left[18];    // columns 0..17
  std::uint32_t right[17];   // columns W-17..W-1
  std::uint32_t top[12];     // rows 0..11
  std::uint32_t bottom[12];  // rows H-11..H
  std::uint32_t topLeftRow0[12];
  const std::uint32_t* topLeftRow5;      // 17 colours, or null when shaded from the edges
  const std::uint32_t* bottomLeftRowH2;  // 15 colours, or null
  bool normal;                           // the normal look: holes and extra top rows
};

extern const Look10 kLook10Normal, kLook10Hot, kLook10Pressed;
extern const std::uint32_t kBottomLeftRowH1[13];

}  // namespace sorvbutton
