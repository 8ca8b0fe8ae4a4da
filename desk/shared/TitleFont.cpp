#include "TitleFont.h"

HFONT TitleFont() {
  static HFONT font = [] {
    HDC dc = GetDC(nullptr);
    int height = -MulDiv(12, GetDeviceCaps(dc, LOGPIXELSY), 72);
    ReleaseDC(nullptr, dc);
    return CreateFontW(height, 0, 0, 0, FW_BOLD, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, L"宋体");
  }();
  return font;
}
