#include "twips.h"

namespace forms {
namespace {

// The system dpi: the programs are dpi-aware through their manifest, so this is the real one.
int Dpi(int axis) {
  static int dpi[2];
  int& d = dpi[axis == LOGPIXELSX ? 0 : 1];
  if (!d) {
    HDC dc = GetDC(nullptr);
    d = GetDeviceCaps(dc, axis);
    ReleaseDC(nullptr, dc);
    if (d <= 0) d = 96;
  }
  return d;
}

}  // namespace

int TwipsPerPixelX() { return 1440 / Dpi(LOGPIXELSX); }
int TwipsPerPixelY() { return 1440 / Dpi(LOGPIXELSY); }
int PixelsX(int twips) { return MulDiv(twips, Dpi(LOGPIXELSX), 1440); }
int PixelsY(int twips) { return MulDiv(twips, Dpi(LOGPIXELSY), 1440); }
int TwipsX(int pixels) { return MulDiv(pixels, 1440, Dpi(LOGPIXELSX)); }
int TwipsY(int pixels) { return MulDiv(pixels, 1440, Dpi(LOGPIXELSY)); }

void MoveTwips(HWND hwnd, const RECT& current, int left, int top, int width, int height) {
  int w = width < 0 ? current.right - current.left : PixelsX(width);
  int h = height < 0 ? current.bottom - current.top : PixelsY(height);
  SetWindowPos(hwnd, nullptr, PixelsX(left), PixelsY(top), w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

void RedrawAll(HWND hwnd) {
  if (hwnd)
    RedrawWindow(hwnd, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

int Screen::Width() { return TwipsX(GetSystemMetrics(SM_CXSCREEN)); }
int Screen::Height() { return TwipsY(GetSystemMetrics(SM_CYSCREEN)); }

}  // namespace forms
