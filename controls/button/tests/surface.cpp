#include "surface.h"

#include <cstdio>
#include <vector>

namespace sorvbutton::test {

HICON MakeIcon(COLORREF colour, COLORREF spot) {
  HDC screen = GetDC(nullptr);
  HBITMAP colourBmp = CreateCompatibleBitmap(screen, 16, 16);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(dc, colourBmp);
  for (int x = 0; x < 16; ++x)
    for (int y = 0; y < 16; ++y) SetPixel(dc, x, y, (x == 3 && y == 3) ? spot : colour);
  SelectObject(dc, old);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  std::vector<BYTE> zeros(16 * 2, 0);  // AND mask all 0: every pixel opaque
  HBITMAP mask = CreateBitmap(16, 16, 1, 1, zeros.data());
  ICONINFO ii{TRUE, 0, 0, mask, colourBmp};
  HICON icon = CreateIconIndirect(&ii);
  DeleteObject(mask);
  DeleteObject(colourBmp);
  return icon;
}

bool SaveBitmap(HDC dc, HBITMAP bitmap, const std::wstring& path) {
  BITMAP bm{};
  if (!GetObjectW(bitmap, sizeof bm, &bm)) return false;
  BITMAPINFOHEADER bih{sizeof bih, bm.bmWidth, bm.bmHeight, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  int stride = ((bm.bmWidth * 3 + 3) / 4) * 4;
  std::vector<BYTE> bits(size_t(stride) * bm.bmHeight);
  if (!GetDIBits(dc, bitmap, 0, bm.bmHeight, bits.data(), reinterpret_cast<BITMAPINFO*>(&bih),
                 DIB_RGB_COLORS))
    return false;
  BITMAPFILEHEADER bfh{};
  bfh.bfType = 0x4D42;
  bfh.bfOffBits = sizeof bfh + sizeof bih;
  bfh.bfSize = DWORD(bfh.bfOffBits + bits.size());
  FILE* f = _wfopen(path.c_str(), L"wb");
  if (!f) return false;
  fwrite(&bfh, sizeof bfh, 1, f);
  fwrite(&bih, sizeof bih, 1, f);
  fwrite(bits.data(), 1, bits.size(), f);
  fclose(f);
  return true;
}

}  // namespace sorvbutton::test
