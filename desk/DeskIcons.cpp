#include "DeskIcons.h"

#include <map>
#include <utility>

#include "DrawnIcon.h"

namespace desk {
namespace {

struct Pen {
  HDC dc;
  int size;
  // Coordinates on a grid of 24, scaled to the icon's size.
  int S(int v) const { return v * size / 24; }
  void Box(int l, int t, int r, int b, COLORREF c) const { FillBox(dc, S(l), S(t), S(r), S(b), c); }
};

// What each picture shows: its colour and its mark, on a grid of 24.
void DrawGlyph(const Pen& p, Glyph g, COLORREF ink) {
  const COLORREF white = RGB(255, 255, 255);
  p.Box(2, 2, 22, 22, ink);
  switch (g) {
    case Glyph::Create:  // a plus
      p.Box(10, 5, 14, 19, white), p.Box(5, 10, 19, 14, white);
      break;
    case Glyph::Delete:  // a bar
      p.Box(5, 10, 19, 14, white);
      break;
    case Glyph::Import:  // an arrow down into a tray
      p.Box(10, 4, 14, 13, white), p.Box(7, 11, 17, 14, white), p.Box(5, 17, 19, 20, white);
      break;
    case Glyph::Mount:  // a drive with its light
      p.Box(4, 8, 20, 17, white), p.Box(15, 13, 18, 15, RGB(60, 200, 60));
      break;
    case Glyph::Option:  // three sliders
      for (int y : {6, 11, 16}) p.Box(4, y, 20, y + 2, white);
      p.Box(7, 5, 10, 9, white), p.Box(13, 10, 16, 14, white), p.Box(9, 15, 12, 19, white);
      break;
    case Glyph::Password:  // a key
      p.Box(4, 8, 11, 15, white), p.Box(11, 10, 20, 13, white), p.Box(16, 13, 18, 16, white);
      break;
    case Glyph::Backup:  // two sheets
      p.Box(4, 4, 14, 16, white), p.Box(9, 8, 20, 20, RGB(220, 220, 220));
      break;
    case Glyph::About:  // an "i"
      p.Box(10, 4, 14, 8, white), p.Box(10, 10, 14, 20, white);
      break;
    case Glyph::Container:  // a padlocked disk
    case Glyph::Current:
      p.Box(4, 10, 20, 20, white), p.Box(8, 4, 16, 11, white), p.Box(10, 6, 14, 11, ink);
      break;
  }
}

COLORREF Ink(Glyph g) {
  switch (g) {
    case Glyph::Create:
      return RGB(40, 140, 60);
    case Glyph::Delete:
      return RGB(190, 50, 40);
    case Glyph::Import:
      return RGB(40, 110, 190);
    case Glyph::Mount:
      return RGB(30, 80, 160);
    case Glyph::Option:
      return RGB(110, 110, 120);
    case Glyph::Password:
      return RGB(200, 150, 20);
    case Glyph::Backup:
      return RGB(90, 60, 160);
    case Glyph::About:
      return RGB(20, 140, 170);
    case Glyph::Container:
      return RGB(120, 130, 150);
    case Glyph::Current:
      return RGB(220, 120, 20);
  }
  return RGB(0, 0, 0);
}

HICON Draw(Glyph g, int size) {
  return DrawnIcon(size, [&](HDC dc, bool mask) {
    Pen p{dc, size};
    if (mask)
      p.Box(2, 2, 22, 22, RGB(0, 0, 0));
    else
      DrawGlyph(p, g, Ink(g));
  });
}

}  // namespace

HICON DeskIcon(Glyph glyph, int size) {
  static std::map<std::pair<Glyph, int>, HICON> icons;
  HICON& icon = icons[{glyph, size}];
  if (!icon) icon = Draw(glyph, size);
  return icon;
}

}  // namespace desk
