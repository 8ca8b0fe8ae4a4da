#include "surface.h"

#include <vector>

namespace sorvbutton::test {

MemSurface::MemSurface(int w, int h)
    : head_{sizeof head_, w + 1, -(h + 1), 1, 32, BI_RGB, 0, 0, 0, 0, 0} {
  dc_ = CreateCompatibleDC(nullptr);
  bmp_ = CreateDIBSection(dc_, reinterpret_cast<BITMAPINFO*>(&head_), DIB_RGB_COLORS, &bits_,
                          nullptr, 0);
  old_ = SelectObject(dc_, bmp_);
  canvas.dc = dc_;
  canvas.W = w;
  canvas.H = h;
  canvas.Background(0x00FF00FF);  // magenta shows whatever nobody painted
}

MemSurface::~MemSurface() {
  SelectObject(dc_, old_);
  DeleteObject(bmp_);
  DeleteDC(dc_);
}

HICON MakeIcon(COLORREF colour, COLORREF spot) {
  auto bgr = [](COLORREF c) {
    return DWORD(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c));
  };
  std::vector<DWORD> pixels(16 * 16, bgr(colour));
  pixels[3 * 16 + 3] = bgr(spot);
  std::vector<BYTE> mask(16 * 2, 0);  // AND mask all 0: every pixel opaque
  return CreateIcon(nullptr, 16, 16, 1, 32, mask.data(),
                    reinterpret_cast<const BYTE*>(pixels.data()));
}

}  // namespace sorvbutton::test
