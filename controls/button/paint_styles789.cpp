// Styles 7, 8 and 9: faces built from one key colour and its shifts.
#include "painters.h"

namespace sorvbutton {

namespace {

Colour S(Colour c, int amount) { return ShiftColor(c, amount); }
Colour Base(const FaceInput& in) { return in.useCustomColors ? in.backColor : Sys(COLOR_BTNFACE); }

// Style 7's frame and its softened corner pixels.
void Frame7(const Canvas& cv, Colour F, Colour A) {
  int W = cv.W, H = cv.H;
  cv.Line(2, 0, W - 2, 0, F);
  cv.Line(0, 2, 0, H - 2, F);
  cv.Line(2, H - 1, W - 2, H - 1, F);
  cv.Line(W - 1, 0, W - 1, H, F);
  const POINT f[] = {{1, 1}, {1, H - 2}, {W - 2, 1}, {W - 2, H - 2}};
  for (POINT p : f) cv.Pixel(p.x, p.y, F);
  const POINT a[] = {{1, 0},     {W - 2, 0},     {0, 1},     {0, H - 2},
                     {1, H - 1}, {W - 2, H - 1}, {W - 1, 1}, {W - 1, H - 2}};
  for (POINT p : a) cv.Pixel(p.x, p.y, A);
}

}  // namespace

void PaintStyle7(Canvas& cv, const FaceInput& in) {
  int W = cv.W, H = cv.H;
  Colour base = Base(in);
  Colour HL = in.useCustomColors ? in.highlightColor : Sys(COLOR_HIGHLIGHT);
  if (in.state == StatePressed) {
    Colour K = S(base, -9), F = S(K, -96);
    cv.RampV(S(K, -15), K, 1, 1, W - 2, H - 2);
    cv.RampV(S(K, -21), S(K, 21), W - 2, 2, W - 3, H - 5);
    cv.RampV(S(K, -32), S(K, -5), 1, 2, 2, H - 5);
    Frame7(cv, F, S(base, -21));
    cv.Line(2, H - 2, W - 2, H - 2, S(base, 8));
    cv.Line(2, 1, W - 2, 1, S(base, -21));
    return;
  }
  Colour K;
  int r = 15;
  Colour A = S(base, -21);
  bool ring = false;
  if (in.state == StateHot) {
    K = S(base, 24);
    r = 16;
    ring = true;
  } else if (in.state == StateDisabled) {
    K = S(base, 18);
    A = S(base, 5);
  } else {
    K = S(base, 8);
    ring = in.hasFocus;
  }
  cv.Background(K);
  Colour F = S(K, -96);
  cv.RampV(S(K, r), S(K, -r), 1, 1, W - 2, H - 3);
  cv.RampV(S(K, 21), S(K, -21), 1, 2, 2, H - 5);
  cv.RampV(S(K, -5), S(K, -32), W - 2, 2, W - 3, H - 5);
  Frame7(cv, F, A);
  if (in.state != StateHot) {
    cv.Line(2, 1, W - 2, 1, S(base, 21));
    cv.Line(2, H - 2, W - 2, H - 2, S(base, -37));
  }
  if (ring) {
    cv.Line(2, 1, W - 2, 1, S(HL, 21));
    cv.Line(1, 2, W - 1, 2, S(HL, 21));
    cv.Line(1, H - 3, W - 1, H - 3, S(HL, -5));
    cv.Line(2, H - 2, W - 2, H - 2, S(HL, -21));
  }
}

void PaintStyle8(Canvas& cv, const FaceInput& in) {
  int W = cv.W, H = cv.H;
  Colour base = Base(in);
  Colour hot = in.useCustomColors ? in.highlightColor : S(Sys(COLOR_BTNFACE), 15);
  bool pressed = in.state == StatePressed;
  Colour K = in.state == StateNormal ? base : hot;
  Colour F = (!pressed && in.hasFocus) ? S(base, -96) : S(base, -48);
  Colour G = S(F, 21);
  Colour topLeft = pressed ? K : S(K, 96);
  Colour bottomRight = pressed ? S(K, 96) : K;

  cv.Background(K);
  if (pressed)
    cv.RampV(S(K, -15), S(K, 15), 2, 2, W - 3, H - 6);
  else
    cv.RampV(S(K, 15), S(K, -15), 2, 2, W - 3, H - 6);
  cv.Line(2, 1, W - 3, 1, topLeft);
  cv.Line(1, 2, 1, H - 3, topLeft);
  cv.Line(2, H - 3, W - 2, H - 3, bottomRight);
  cv.Line(W - 3, 2, W - 3, H - 3, bottomRight);
  cv.Line(2, 0, W - 3, 0, F);
  cv.Line(0, 2, 0, H - 3, F);
  cv.Line(2, H - 2, W - 3, H - 2, F);
  cv.Line(W - 2, 2, W - 2, H - 3, F);
  const POINT f[] = {{1, 1}, {1, H - 3}, {W - 3, 1}, {W - 3, H - 3}};
  for (POINT p : f) cv.Pixel(p.x, p.y, F);
  cv.Line(3, H - 1, W - 4, H - 1, G);
  cv.Line(W - 1, 3, W - 1, H - 4, G);
  cv.Line(W - 4, H - 1, W, H - 5, G);
  cv.Line(W - 3, H - 1, W, H - 4, S(G, 15));
}

void PaintStyle9(Canvas& cv, const FaceInput& in) {
  int W = cv.W, H = cv.H;
  Colour base = Base(in);
  Colour HB = in.useCustomColors ? in.highlightColor : Sys(COLOR_BTNFACE);
  Colour K;
  switch (in.state) {
    case StateHot:
      K = S(HB, 1);
      break;
    case StatePressed:
      K = S(HB, 24);
      break;
    case StateDisabled:
      K = S(base, 15);
      break;
    default:
      K = S(base, -15);
      break;
  }
  auto R = [H](int n) { return RoundHalfEven(H / 2.0 + n); };
  cv.Background(K);
  cv.RampV(S(K, 32), S(K, -32), 5, 2, W - 5, H - 6);            // 1
  cv.RampV(S(K, 128), S(K, -128), 0, 0, 1, H - 4);              // 2
  cv.RampV(K, S(K, -37), 2, 4, 3, R(-7));                       // 3
  cv.RampV(K, S(K, -53), 3, 3, 4, R(-7));                       // 4
  cv.RampV(K, S(K, -37), 4, 2, 5, R(-7));                       // 5
  cv.RampV(S(K, 37), S(K, 5), 5, 2, 6, R(-4));                  // 6
  cv.RampV(S(K, -37), S(K, -32), 2, R(-2), 3, R(-5));           // 7
  cv.RampV(S(K, -53), S(K, -32), 3, R(-3), 4, R(-3));           // 8
  cv.RampV(S(K, -37), S(K, -32), 4, R(-4), 5, R(-1));           // 9
  cv.RampV(S(K, 5), S(K, -5), 5, R(-4), 6, R(-3));              // 10
  cv.RampH(S(K, -53), S(K, -32), 5, H - 5, 12, H - 6);          // 11
  cv.RampH(S(K, -56), S(K, -32), 4, H - 6, 7, H - 7);           // 12
  cv.RampH(S(K, -37), S(K, -32), 3, H - 7, 5, H - 8);           // 13
  cv.RampV(S(K, 128), S(K, -128), W - 2, 0, W - 1, H - 4);      // 14
  cv.RampV(S(K, 128), S(K, -48), W - 1, 0, W, R(0));            // 15
  cv.RampV(S(K, -64), S(K, -8), W - 1, R(0), W, R(-4));         // 16
  cv.RampV(K, S(K, -37), W - 4, 4, W - 3, R(-5));               // 17
  cv.RampV(K, S(K, -48), W - 5, 3, W - 4, R(-4));               // 18
  cv.RampV(K, S(K, -37), W - 6, 2, W - 5, R(-3));               // 19
  cv.RampV(S(K, 37), S(K, 5), W - 7, 2, W - 6, R(-4));          // 20
  cv.RampV(S(K, -37), S(K, -21), W - 4, R(0), W - 3, R(-5));    // 21
  cv.RampV(S(K, -48), S(K, -37), W - 5, R(0), W - 4, R(-5));    // 22
  cv.RampV(S(K, -37), S(K, -53), W - 6, R(0), W - 5, R(-4));    // 23
  cv.RampV(S(K, -5), S(K, -37), W - 7, R(0), W - 6, R(-4));     // 24
  cv.RampH(S(K, -32), S(K, -53), W - 15, H - 4, W - 7, H - 3);  // 25
  cv.Line(3, 0, W - 3, 0, S(K, 48));                            // 26
  cv.Line(1, 1, W - 1, 1, S(K, 48));                            // 27
  cv.Line(5, 1, W - 5, 1, K);                                   // 28
  cv.RampH(S(K, 32), K, W - 11, 2, W - 4, 3);                   // 29
  cv.RampH(S(K, 32), K, W - 10, 3, W - 5, 4);                   // 30
  cv.RampH(S(K, 32), K, W - 9, 4, W - 6, 5);                    // 31
  cv.Line(6, 3, 7, 3, S(K, 128));                               // 32
  cv.Line(3, H - 1, W - 3, H - 1, S(K, -16));                   // 33
  cv.Line(2, H - 2, W - 3, H - 2, S(K, -128));                  // 34
  cv.Line(7, H - 3, W - 7, H - 3, K);                           // 35
  cv.Pixel(1, H - 3, S(K, -112));                               // 36
  cv.Pixel(W - 3, H - 3, S(K, -112));                           // 37
  cv.Line(W - 4, H - 1, W - 1, H - 4, S(K, -21));               // 38
}

}  // namespace sorvbutton
