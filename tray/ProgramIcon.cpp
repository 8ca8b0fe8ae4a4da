#include "ProgramIcon.h"

#include "DrawnIcon.h"

namespace tray {
namespace {

HICON Draw() {
  return DrawnIcon(32, [](HDC dc, bool mask) {
    if (mask) {
      FillBox(dc, 2, 8, 30, 26, RGB(0, 0, 0));
      FillBox(dc, 12, 2, 20, 10, RGB(0, 0, 0));
      return;
    }
    FillBox(dc, 2, 8, 30, 26, RGB(30, 80, 160));     // the disk
    FillBox(dc, 4, 22, 28, 24, RGB(120, 170, 230));  // its front edge
    FillBox(dc, 12, 2, 20, 10, RGB(200, 200, 200));  // shackle
    FillBox(dc, 14, 4, 18, 10, RGB(30, 80, 160));
    FillBox(dc, 10, 10, 22, 20, RGB(240, 200, 40));  // lock body
    FillBox(dc, 15, 13, 17, 17, RGB(60, 40, 0));     // keyhole
  });
}

}  // namespace

HICON ProgramIcon() {
  static HICON icon = Draw();
  return icon;
}

}  // namespace tray
