#include "icons.h"

#include <vector>

#include "primitives.h"

namespace sorvbutton {

namespace {

bool GreyBitmap(HBITMAP bitmap) {
  BITMAP info{};
  if (!GetObjectW(bitmap, sizeof info, &info) || info.bmWidth < 1 || info.bmHeight < 1)
    return false;
  // Through 32-bit rows rather than GetPixel/SetPixel: those would drop the alpha channel
  // of an alpha icon and leave its grey copy all but invisible.
  BITMAPINFO bi{};
  bi.bmiHeader = {
      sizeof(BITMAPINFOHEADER), info.bmWidth, -info.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<RGBQUAD> px(size_t(info.bmWidth) * info.bmHeight);
  HDC screen = GetDC(nullptr);
  bool ok = GetDIBits(screen, bitmap, 0, info.bmHeight, px.data(), &bi, DIB_RGB_COLORS) != 0;
  if (ok) {
    for (RGBQUAD& q : px) {
      Colour g = GreyIconPixel(RGB(q.rgbRed, q.rgbGreen, q.rgbBlue));
      q.rgbRed = BYTE(RedOf(g));
      q.rgbGreen = BYTE(GreenOf(g));
      q.rgbBlue = BYTE(BlueOf(g));
    }
    ok = SetDIBits(screen, bitmap, 0, info.bmHeight, px.data(), &bi, DIB_RGB_COLORS) != 0;
  }
  ReleaseDC(nullptr, screen);
  return ok;
}

// A scratch surface of size by size holding the icon over the mask colour (the hidden
// picture box of the original design).
struct Scratch {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ old = nullptr;
  Scratch(HDC like, HICON icon, int size, Colour mask) {
    dc = CreateCompatibleDC(like);
    bitmap = CreateCompatibleBitmap(like, size, size);
    old = SelectObject(dc, bitmap);
    FillBox(dc, 0, 0, size, size, mask);
    DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
  }
  ~Scratch() {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
};

}  // namespace

bool PaintIconGrayscale(HDC dest, HICON icon, int x, int y, int height, int width) {
  if (!dest || !icon) return false;
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return false;
  HDC dc = CreateCompatibleDC(nullptr);
  bool drawn = false;
  HICON grey = nullptr;
  if (info.hbmColor && GreyBitmap(info.hbmColor)) {
    ICONINFO made{TRUE, 0, 0, info.hbmMask, info.hbmColor};
    grey = CreateIconIndirect(&made);
    if (grey) drawn = DrawIconEx(dest, x, y, grey, width, height, 0, nullptr, DI_NORMAL) != 0;
  }
  if (grey) DestroyIcon(grey);
  DeleteDC(dc);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  return drawn;
}

void DrawIconScaled(HDC dest, HICON icon, int x, int y, int size) {
  DrawIconEx(dest, x, y, icon, size, size, 0, nullptr, DI_NORMAL);
}

void DrawIconMasked(HDC dest, HICON icon, int x, int y, int size, Colour mask, bool grey) {
  if (size < 1) return;
  Scratch s(dest, icon, size, mask);
  COLORREF key = Gdi(mask);
  for (int i = 0; i < size; ++i)
    for (int j = 0; j < size; ++j) {
      COLORREF c = GetPixel(s.dc, i, j);
      if (c == key || c == CLR_INVALID) continue;
      SetPixel(dest, x + i, y + j, grey ? GreyOfColor(c) : c);
    }
}

void DrawIconShadow(HDC dest, HICON icon, int x, int y, int size, bool useMask, Colour mask) {
  if (size < 1) return;
  if (useMask) {
    Scratch s(dest, icon, size, mask);
    for (int i = 0; i < size; ++i)
      for (int j = 0; j < size; ++j)
        if (GetPixel(s.dc, i, j) != Gdi(mask)) SetPixel(dest, x + i, y + j, 0x808080);
    return;
  }
  DrawIconScaled(dest, icon, x, y, size);
  COLORREF background = GetPixel(dest, 1, 1);
  for (int i = 0; i < size; ++i)
    for (int j = 0; j < size; ++j)
      if (GetPixel(dest, x + i, y + j) != background) SetPixel(dest, x + i, y + j, 0x808080);
}

}  // namespace sorvbutton
