// Style 10: the pill-shaped face of fixed looks. Corners are fixed blocks, edges are lines
// of fixed colours that stretch with the size, and the centre is flat.
#include <algorithm>

#include "painters.h"
#include "style10_looks.h"

namespace sorvbutton {

namespace {

// First painted column of each corner row, counted from the outer edge of the block:
// top rows 0..10 and bottom rows H..H-10 (index k = H - row).
const int kTopLeftStart[11] = {6, 5, 3, 3, 2, 1, 1, 1, 0, 0, 0};
const int kTopRightEnd[11] = {8, 6, 5, 4, 3, 2, 2, 2, 1, 1, 1};  // row ends at W - value
const int kBottomLeftStart[11] = {7, 5, 3, 2, 2, 1, 1, 0, 0, 0, 0};
const int kBottomRightEnd[11] = {8, 6, 5, 4, 3, 2, 2, 2, 1, 1, 1};

// Where an edge column and an edge row cross: each edge's difference from the centre laid
// on the centre. Near the seams the column colours equal the centre, so a corner pixel
// there takes the colour of the edge row it meets.
Colour Cross(Colour column, Colour row, Colour centre) {
  auto ch = [](int c, int r, int m) { return std::clamp(c + r - m, 0, 255); };
  return MakeRGB(ch(RedOf(column), RedOf(row), RedOf(centre)),
                 ch(GreenOf(column), GreenOf(row), GreenOf(centre)),
                 ch(BlueOf(column), BlueOf(row), BlueOf(centre)));
}

// One corner pixel, p pixels in from the row's outer end: near-white, blended, the dark
// outline, then the crossing of the edges it lies between.
Colour Shade(int p, bool spanAtEdge, Colour edgeColumn, Colour edgeRow, Colour outline,
             Colour centre) {
  if (spanAtEdge && p < 3) return edgeColumn;
  if (p == 0) return Hex(0xFEFEFE);
  if (p == 1) return BlendColors(Hex(0xFEFEFE), outline);
  if (p == 2) return outline;
  return Cross(edgeColumn, edgeRow, centre);
}

// A fixed row of `count` colours of a left block, laid over a right block row of `span`
// pixels from its outer end: the outer pixels as at the left, the last two as the row's
// last two, so that the row meets the edge at the seam as it does on the left.
Colour FixedRow(const std::uint32_t* row, int count, int span, int p) {
  return Hex(row[p < span - 2 ? p : count - (span - p)]);
}

bool IsHole(bool left, int k, int col) {
  // col: left block column 0..17, or right block index 0..16 (column W-17+index).
  if (left)
    return (k == 6 && (col == 11 || col == 13 || col == 15 || col == 17)) || (k == 5 && col == 9);
  return (k == 6 && (col == 0 || col == 2 || col == 3 || col == 4 || col == 7)) ||
         (k == 5 && (col == 5 || col == 7)) || (k == 4 && col == 4);
}

Colour TopLeft(const Look10& L, int c, int y) {
  if (y == 0) return Hex(L.topLeftRow0[c - 6]);
  if (y == 5 && L.topLeftRow5) return Hex(L.topLeftRow5[c - 1]);
  if (y >= 10) return Hex(L.left[c]);
  int s = kTopLeftStart[y];
  return Shade(c - s, s == 0, Hex(L.left[c]), Hex(L.top[y]), Hex(L.left[2]), Hex(L.centre));
}

Colour TopRight(const Look10& L, int j, int y) {
  int end = 17 - kTopRightEnd[y < 11 ? y : 10], p = end - j;
  if (y == 0) return FixedRow(L.topLeftRow0, 12, end + 1, p);
  if (y == 5 && L.topLeftRow5) return FixedRow(L.topLeftRow5, 17, end + 1, p);
  if (y >= 10) return Hex(L.right[j]);
  return Shade(p, end == 16, Hex(L.right[j]), Hex(L.top[y]), Hex(L.right[14]), Hex(L.centre));
}

// Bottom rows by k = H - row. Row H-10 (k 10) is the last visible one the edge rows meet.
Colour BottomLeft(const Look10& L, int c, int k) {
  if (k == 1) return Hex(kBottomLeftRowH1[c - 5]);
  if (k == 2 && L.bottomLeftRowH2) return Hex(L.bottomLeftRowH2[c - 3]);
  if (k > 10) return Hex(L.left[c]);
  int s = kBottomLeftStart[k], p = c - s;
  Colour row = Hex(L.bottom[11 - k]);
  if (k <= 2 && p >= 3) return row;
  return Shade(p, s == 0, Hex(L.left[c]), row, Hex(L.bottom[9]), Hex(L.centre));
}

Colour BottomRight(const Look10& L, int j, int k) {
  int end = 17 - kBottomRightEnd[k < 11 ? k : 10], p = end - j;
  if (k == 1) return FixedRow(kBottomLeftRowH1, 13, end + 1, p);
  if (k == 2 && L.bottomLeftRowH2) return FixedRow(L.bottomLeftRowH2, 15, end + 1, p);
  if (k > 10) return Hex(L.right[j]);
  Colour row = Hex(L.bottom[11 - k]);
  if (k <= 2 && p >= 3) return row;
  return Shade(p, end == 16, Hex(L.right[j]), row, Hex(L.bottom[9]), Hex(L.centre));
}

void PaintLook(const Canvas& cv, const Look10& L) {
  int W = cv.W, H = cv.H;
  FillBox(cv.dc, 18, 11, W - 34, H - 19, Hex(L.centre));

  int topRows = L.normal ? 13 : 11;     // the normal look holds rows 11 and 12 too
  int bottomRows = L.normal ? 11 : 13;  // the others hold H-12 and H-11
  for (int y = 0; y < topRows; ++y)
    for (int c = y < 11 ? kTopLeftStart[y] : 0; c <= 17; ++c) cv.Pixel(c, y, TopLeft(L, c, y));
  for (int k = bottomRows - 1; k >= 0; --k)
    for (int c = k < 11 ? kBottomLeftStart[k] : 0; c <= 17; ++c)
      if (!(L.normal && IsHole(true, k, c))) cv.Pixel(c, H - k, BottomLeft(L, c, k));
  for (int y = 0; y < topRows; ++y)
    for (int j = 0; j <= 17 - (y < 11 ? kTopRightEnd[y] : 1); ++j)
      cv.Pixel(W - 17 + j, y, TopRight(L, j, y));
  for (int k = bottomRows - 1; k >= 0; --k)
    for (int j = 0; j <= 17 - (k < 11 ? kBottomRightEnd[k] : 1); ++j)
      if (!(L.normal && IsHole(false, k, j))) cv.Pixel(W - 17 + j, H - k, BottomRight(L, j, k));

  for (int x = 0; x <= 17; ++x) cv.Line(x, 11, x, H - 10, Hex(L.left[x]));
  for (int j = 0; j < 17; ++j) cv.Line(W - 17 + j, 11, W - 17 + j, H - 10, Hex(L.right[j]));
  for (int y = 0; y <= 11; ++y) cv.Line(17, y, W - 17, y, Hex(L.top[y]));
  for (int i = 0; i <= 11; ++i) cv.Line(17, H - 11 + i, W - 17, H - 11 + i, Hex(L.bottom[i]));
}

}  // namespace

void PaintStyle10(Canvas& cv, const FaceInput& in) {
  if (in.state == StatePressed)
    PaintLook(cv, kLook10Pressed);
  else if (in.state == StateHot || in.hasFocus)
    PaintLook(cv, kLook10Hot);
  else
    PaintLook(cv, kLook10Normal);
}

}  // namespace sorvbutton
