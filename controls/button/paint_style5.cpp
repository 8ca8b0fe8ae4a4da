// Style 5: the softly shaded button with cut corners, in fixed or derived colours.
#include "painters.h"

namespace sorvbutton {

namespace {

void CornersA(const Canvas& cv, Colour c) {
  int W = cv.W, H = cv.H;
  cv.Pixel(1, 1, c);
  cv.Pixel(1, H - 2, c);
  cv.Pixel(W - 2, 1, c);
  cv.Pixel(W - 2, H - 2, c);
}

void CornersB(const Canvas& cv, Colour c) {
  int W = cv.W, H = cv.H;
  const POINT pts[] = {{0, 1},         {1, 0},         {1, H - 1}, {0, H - 2},
                       {W - 1, H - 2}, {W - 2, H - 1}, {W - 2, 0}, {W - 1, 1}};
  for (POINT p : pts) cv.Pixel(p.x, p.y, c);
}

void CornersC(const Canvas& cv, Colour c) {
  int W = cv.W, H = cv.H;
  const POINT pts[] = {{1, 2},         {2, 1},         {2, H - 2}, {1, H - 3},
                       {W - 2, H - 3}, {W - 3, H - 2}, {W - 3, 1}, {W - 2, 2}};
  for (POINT p : pts) cv.Pixel(p.x, p.y, c);
}

void CornersD(const Canvas& cv, Colour c) {
  int W = cv.W, H = cv.H;
  const POINT pts[] = {{0, 1},     {1, 1},         {1, 0},         {0, H - 2},
                       {1, H - 2}, {1, H - 1},     {W - 1, 1},     {W - 2, 1},
                       {W - 2, 0}, {W - 1, H - 2}, {W - 2, H - 2}, {W - 2, H - 1}};
  for (POINT p : pts) cv.Pixel(p.x, p.y, c);
}

// The four ring lines (top to bottom as listed) and the two side ramps.
void Ring(const Canvas& cv, Colour top1, Colour top2, Colour bottom2, Colour bottom1,
          Colour rampFirst, Colour rampLast) {
  int W = cv.W, H = cv.H;
  cv.Line(2, 1, W - 2, 1, top1);
  cv.Line(2, 2, W - 2, 2, top2);
  cv.Line(2, H - 3, W - 2, H - 3, bottom2);
  cv.Line(2, H - 2, W - 2, H - 2, bottom1);
  cv.RampV(rampFirst, rampLast, 1, 2, 3, H - 5);
  cv.RampV(rampFirst, rampLast, W - 3, 2, W - 1, H - 5);
}

void Frame(const Canvas& cv, Colour c) {
  int W = cv.W, H = cv.H;
  cv.Line(1, 0, W - 1, 0, c);
  cv.Line(0, 1, 0, H - 1, c);
  cv.Line(W - 1, 1, W - 1, H - 1, c);
  cv.Line(1, H - 1, W - 1, H - 1, c);
}

void FixedFrame(const Canvas& cv) {
  Frame(cv, 0x743C00);
  CornersA(cv, 0x906E48);
  CornersB(cv, 0xA28B6A);
  CornersC(cv, 0xCAC7BF);
}

}  // namespace

void PaintStyle5(Canvas& cv, const FaceInput& in) {
  int W = cv.W, H = cv.H;
  cv.Background(Sys(COLOR_BTNFACE));
  switch (in.state) {
    case StateNormal:
    case StateHot:
      cv.RampV(0xFBFCFC, 0xF0F0F0, 1, 1, W - 2, 4);
      cv.RampV(0xF9FAFA, 0xEAF0F0, 1, 4, W - 2, H - 8);
      cv.RampV(0xE6EBEB, 0xC5D0D6, 1, H - 4, W - 2, 3);
      cv.RampV(0xFAFBFB, 0xDAE2E4, W - 3, 3, W - 2, H - 5);
      cv.RampV(0xF2F4F5, 0xCDD7DB, W - 2, 3, W - 1, H - 5);
      FixedFrame(cv);
      if (in.state == StateHot)
        Ring(cv, 0xCFF0FF, 0x89D8FD, 0x30B3F8, 0x1097E5, 0x89D8FD, 0x30B3F8);
      else if (in.hasFocus || in.displayAsDefault)
        Ring(cv, 0xFFE7CE, 0xF6D4BC, 0xE4AD89, 0xEE8269, 0xF6D4BC, 0xE4AD89);
      break;
    case StatePressed:
      cv.RampV(0xC1CCD1, 0xDCE3E4, 2, 1, W - 1, 4);
      cv.RampV(0xDCE3E4, 0xDBE2E3, 2, 4, W - 1, H - 8);
      cv.RampV(0xDBE2E3, 0xEEF1F2, 3, H - 4, W - 1, 3);
      cv.RampV(0xCED8DA, 0xDBE2E3, 1, 3, 2, H - 5);
      cv.RampV(0xCED8DA, 0xDBE2E3, 2, 4, 3, H - 7);
      FixedFrame(cv);
      break;
    case StateDisabled:
      cv.Background(0xEAF4F5);
      DrawBox(cv.dc, 0, 0, W - 1, H - 1, 0xBAC7C9);
      CornersD(cv, 0xC7D5D8);
      break;
    default:
      break;
  }
}

void PaintStyle5Custom(Canvas& cv, const FaceInput& in) {
  int W = cv.W, H = cv.H;
  Colour B = in.backColor;
  auto S = [](Colour c, int a) { return ShiftColor(c, a); };
  if (in.state == StateNormal || in.state == StateHot) {
    cv.Background(B);
    cv.RampV(B, S(B, -15), 1, 1, W - 2, H - 3);
    cv.RampV(S(B, 21), S(B, -21), 1, 2, 2, H - 5);
    cv.RampV(S(B, -5), S(B, -32), W - 2, 2, W - 3, H - 5);
    cv.Line(2, 1, W - 2, 1, S(B, 5));
    cv.Line(1, 2, W - 1, 2, S(B, 2));
    cv.Line(2, H - 4, W - 2, H - 4, S(B, -16));
    cv.Line(2, H - 3, W - 2, H - 3, S(B, -24));
    cv.Line(2, H - 2, W - 2, H - 2, S(B, -37));
    Colour f = S(B, -128);
    cv.Line(2, 0, W - 2, 0, f);
    cv.Line(0, 2, 0, H - 2, f);
    cv.Line(2, H - 1, W - 2, H - 1, f);
    cv.Line(W - 1, 0, W - 1, H, f);
    CornersA(cv, f);
    CornersB(cv, S(B, -21));
    bool ring = in.state == StateHot || (in.hasFocus && in.showFocus);
    if (ring) {
      Colour K = in.state == StateHot ? in.highlightColor : Sys(COLOR_HIGHLIGHT);
      Ring(cv, S(K, 85), S(K, 69), S(K, 16), K, S(K, 69), S(K, 16));
    }
  } else if (in.state == StatePressed) {
    cv.RampV(S(B, -37), S(B, -21), 2, 1, W - 1, 4);
    cv.RampV(S(B, -21), S(B, -5), 2, 4, W - 1, H - 8);
    cv.RampV(S(B, -5), S(B, 5), 3, H - 4, W - 1, 3);
    cv.RampV(S(B, -32), S(B, -22), 1, 3, 2, H - 5);
    cv.RampV(S(B, -24), S(B, -15), 2, 4, 3, H - 7);
    cv.Pixel(1, 2, S(B, -48));
    cv.Pixel(2, 1, S(B, -48));
    cv.Pixel(2, H - 2, S(B, -5));
    cv.Pixel(1, H - 3, S(B, -16));
    cv.Pixel(W - 2, H - 3, S(B, 18));
    cv.Pixel(W - 3, H - 2, S(B, 8));
    cv.Pixel(W - 3, 1, S(B, -48));
    cv.Pixel(W - 2, 2, S(B, -37));
    Frame(cv, S(B, -128));
    CornersA(cv, S(B, -96));
  } else if (in.state == StateDisabled) {
    cv.Background(B);
    DrawBox(cv.dc, 0, 0, W - 1, H - 1, S(B, -64));
    CornersD(cv, S(B, -53));
  }
}

}  // namespace sorvbutton
