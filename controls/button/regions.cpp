// Window outlines of the shaped styles.
#include "painters.h"

namespace sorvbutton {

HRGN CutCornerRegion(int W, int H) {
  const POINT p[8] = {{0, 1},     {1, 0},     {W - 1, 0}, {W, 1},
                      {W, H - 2}, {W - 2, H}, {2, H},     {0, H - 2}};
  return CreatePolygonRgn(p, 8, ALTERNATE);
}

HRGN CutCornerRegionWide(int W, int H) {
  const POINT p[8] = {{0, 2},     {2, 0},     {W - 3, 0}, {W, 3},
                      {W, H - 3}, {W - 3, H}, {4, H},     {0, H - 4}};
  return CreatePolygonRgn(p, 8, ALTERNATE);
}

HRGN RoundRegion(int W, int H) { return CreateRoundRectRgn(0, 0, W + 1, H + 1, 18, 18); }

HRGN RegionForStyle(int style, int W, int H) {
  switch (style) {
    case 5:
    case 7:
      return CutCornerRegion(W, H);
    case 8:
    case 9:
      return CutCornerRegionWide(W, H);
    case 10:
      return RoundRegion(W, H);
    default:
      return CreateRectRgn(0, 0, W, H);
  }
}

}  // namespace sorvbutton
