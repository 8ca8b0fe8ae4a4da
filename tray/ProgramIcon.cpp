#include "ProgramIcon.h"

namespace tray {
namespace {

constexpr int kSize = 32;

void Fill(HDC dc, int l, int t, int r, int b, COLORREF colour) {
  RECT rect{l, t, r, b};
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
}

HICON Draw() {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP colour = CreateCompatibleBitmap(screen, kSize, kSize);
  HBITMAP mask = CreateBitmap(kSize, kSize, 1, 1, nullptr);
  ReleaseDC(nullptr, screen);

  // Mask: black where the picture is, white (transparent) around it.
  HGDIOBJ old = SelectObject(dc, mask);
  Fill(dc, 0, 0, kSize, kSize, RGB(255, 255, 255));
  Fill(dc, 2, 8, 30, 26, RGB(0, 0, 0));
  Fill(dc, 12, 2, 20, 10, RGB(0, 0, 0));

  SelectObject(dc, colour);
  Fill(dc, 0, 0, kSize, kSize, RGB(0, 0, 0));
  Fill(dc, 2, 8, 30, 26, RGB(30, 80, 160));     // the disk
  Fill(dc, 4, 22, 28, 24, RGB(120, 170, 230));  // its front edge
  Fill(dc, 12, 2, 20, 10, RGB(200, 200, 200));  // shackle
  Fill(dc, 14, 4, 18, 10, RGB(30, 80, 160));
  Fill(dc, 10, 10, 22, 20, RGB(240, 200, 40));  // lock body
  Fill(dc, 15, 13, 17, 17, RGB(60, 40, 0));     // keyhole
  SelectObject(dc, old);
  DeleteDC(dc);

  ICONINFO info{TRUE, 0, 0, mask, colour};
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(mask);
  DeleteObject(colour);
  return icon;
}

}  // namespace

HICON ProgramIcon() {
  static HICON icon = Draw();
  return icon;
}

}  // namespace tray
