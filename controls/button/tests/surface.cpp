#include "surface.h"

#include <cstdio>
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

bool MemSurface::Save(const std::wstring& path) const {
  GdiFlush();
  DWORD size = DWORD(head_.biWidth * -head_.biHeight * 4);
  BITMAPFILEHEADER fh{0x4D42, DWORD(sizeof fh + sizeof head_ + size), 0, 0,
                      DWORD(sizeof fh + sizeof head_)};
  FILE* f = _wfopen(path.c_str(), L"wb");
  if (!f) return false;
  bool ok = fwrite(&fh, sizeof fh, 1, f) == 1 && fwrite(&head_, sizeof head_, 1, f) == 1 &&
            fwrite(bits_, 1, size, f) == size;
  return fclose(f) == 0 && ok;
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
