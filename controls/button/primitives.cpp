#include "primitives.h"

#include <ole2.h>
#include <olectl.h>
#include <uxtheme.h>

namespace sorvbutton {

Colour TranslateColor(Colour c) {
  COLORREF out = 0;
  if (OleTranslateColor(OLE_COLOR(c), nullptr, &out) != S_OK) return Colour(-1);
  return Colour(out);
}

void DrawLine(HDC dc, int x1, int y1, int x2, int y2, Colour c) {
  HPEN pen = CreatePen(PS_SOLID, 1, Gdi(c));
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
  SelectObject(dc, old);
  DeleteObject(pen);
}

void DrawBox(HDC dc, int x, int y, int w, int h, Colour c) {
  HPEN pen = CreatePen(PS_SOLID, 1, Gdi(c));
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, x, y, nullptr);
  LineTo(dc, x + w, y);
  LineTo(dc, x + w, y + h);
  LineTo(dc, x, y + h);
  LineTo(dc, x, y);
  SelectObject(dc, old);
  DeleteObject(pen);
}

void FillRectColor(HDC dc, const RECT& r, Colour c) {
  HBRUSH brush = CreateSolidBrush(Gdi(c));
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

void FillBox(HDC dc, int x, int y, int w, int h, Colour c) {
  RECT r{x, y, x + w, y + h};
  FillRectColor(dc, r, c);
}

void DrawEdgeBox(HDC dc, double x, double y, double w, double h, UINT edge, UINT flags) {
  RECT r{RoundHalfEven(x), RoundHalfEven(y), RoundHalfEven(x + w), RoundHalfEven(y + h)};
  DrawEdge(dc, &r, edge, flags);
}

void SetPixelColour(HDC dc, int x, int y, Colour c) { SetPixel(dc, x, y, Gdi(c)); }

namespace {
// Channel i of a ramp: the step is taken in single precision as the painters always did.
struct Ramp {
  float step[3];
  int first[3];
  Ramp(Colour a, Colour b, int n) {
    int fa[3] = {RedOf(a), GreenOf(a), BlueOf(a)}, fb[3] = {RedOf(b), GreenOf(b), BlueOf(b)};
    for (int k = 0; k < 3; ++k) {
      first[k] = fa[k];
      step[k] = float(fb[k] - fa[k]) / float(n);
    }
  }
  Colour At(int i) const {
    int ch[3];
    for (int k = 0; k < 3; ++k) ch[k] = RoundHalfEven(first[k] + double(step[k]) * i);
    return MakeRGB(ch[0], ch[1], ch[2]);
  }
};
}  // namespace

void DrawGradientV(HDC dc, Colour first, Colour last, int x1, int top, int x2, int n) {
  if (n < 1) return;  // a count of 0 has no step; such a ramp is skipped
  Ramp ramp(first, last, n);
  for (int i = 0; i <= n; ++i) DrawLine(dc, x1, top + i, x2, top + i, ramp.At(i));
}

void DrawGradientH(HDC dc, Colour first, Colour last, int x1, int y1, int x2, int y2) {
  int n = x2 - x1;
  if (n < 1) return;
  Ramp ramp(first, last, n);
  for (int i = 0; i <= n; ++i) DrawLine(dc, x1 + i, y1, x1 + i, y2, ramp.At(i));
}

void DrawEtchedFrame(HDC dc, int x, int y, int w, int h, Colour outer, Colour inner,
                     Colour corner) {
  DrawBox(dc, x, y, w - 1, h - 1, outer);
  DrawBox(dc, x + 1, y + 1, w - 1, h - 1, inner);
  SetPixelColour(dc, x, y + h, corner);
  SetPixelColour(dc, x + w, y, corner);
  Colour mid = BlendColors(inner, outer);
  SetPixelColour(dc, x + 1, y + h - 1, mid);
  SetPixelColour(dc, x + w - 1, y + 1, mid);
}

bool DrawThemedBackground(HWND window, HDC dc, const RECT& rect, const wchar_t* classList, int part,
                          int state) {
  if (!window || !IsThemeActive()) return false;
  HTHEME theme = OpenThemeData(window, classList);
  if (!theme) return false;
  bool ok = DrawThemeBackground(theme, dc, part, state, &rect, &rect) == S_OK;
  CloseThemeData(theme);
  return ok;
}

}  // namespace sorvbutton
