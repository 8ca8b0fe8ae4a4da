#include "DrawnIcon.h"

HICON DrawnIcon(int size, const std::function<void(HDC dc, bool mask)>& paint) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP colour = CreateCompatibleBitmap(screen, size, size);
  HBITMAP mask = CreateBitmap(size, size, 1, 1, nullptr);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, mask);
  FillBox(dc, 0, 0, size, size, RGB(255, 255, 255));
  paint(dc, true);
  SelectObject(dc, colour);
  FillBox(dc, 0, 0, size, size, RGB(0, 0, 0));
  paint(dc, false);
  SelectObject(dc, old);
  DeleteDC(dc);
  ICONINFO info{TRUE, 0, 0, mask, colour};
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(mask);
  DeleteObject(colour);
  return icon;
}

void FillBox(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
  RECT rect{left, top, right, bottom};
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
}
