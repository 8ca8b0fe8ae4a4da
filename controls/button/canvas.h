// The control's drawing surface: a device context of W by H pixels with a background
// colour. Setting the background erases the whole surface to it, as the painters expect.
#pragma once
#include <windows.h>

#include "primitives.h"

namespace sorvbutton {

struct Canvas {
  HDC dc = nullptr;
  int W = 0, H = 0;
  COLORREF back = 0;

  void Background(Colour c) {
    back = Gdi(TranslateColor(c));
    Cls();
  }
  void Cls() const { FillBox(dc, 0, 0, W, H, back); }
  void Line(int x1, int y1, int x2, int y2, Colour c) const { DrawLine(dc, x1, y1, x2, y2, c); }
  void Pixel(int x, int y, Colour c) const { SetPixelColour(dc, x, y, c); }
  void RampV(Colour a, Colour b, int x1, int top, int x2, int n) const {
    DrawGradientV(dc, a, b, x1, top, x2, n);
  }
  void RampH(Colour a, Colour b, int x1, int y1, int x2, int y2) const {
    DrawGradientH(dc, a, b, x1, y1, x2, y2);
  }
};

inline Colour Sys(int index) { return Colour(GetSysColor(index)); }

}  // namespace sorvbutton
