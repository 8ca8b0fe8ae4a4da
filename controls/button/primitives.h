// Drawing primitives of the button painters: solid 1-pixel pens, solid brushes, line
// gradients. Each GDI object made here is deleted before return; pens are restored.
#pragma once
#include <windows.h>

#include "colours.h"

namespace sorvbutton {

// The RGB value of a colour or system-colour reference; -1 when it cannot be resolved.
Colour TranslateColor(Colour c);

// A colour as GDI takes it: a system reference counts as its low three bytes.
inline COLORREF Gdi(Colour c) { return COLORREF(c & 0xFFFFFF); }

void DrawLine(HDC dc, int x1, int y1, int x2, int y2, Colour c);  // end point not painted
void DrawBox(HDC dc, int x, int y, int w, int h, Colour c);       // outline through x+w, y+h
void FillRectColor(HDC dc, const RECT& r, Colour c);
void FillBox(HDC dc, int x, int y, int w, int h, Colour c);
void DrawEdgeBox(HDC dc, double x, double y, double w, double h, UINT edge, UINT flags);
void SetPixelColour(HDC dc, int x, int y, Colour c);
// Rows top..top+n, each a line x1..x2, from the first colour to the last.
void DrawGradientV(HDC dc, Colour first, Colour last, int x1, int top, int x2, int n);
// Columns x1..x2, each a line y1..y2, from the first colour to the last.
void DrawGradientH(HDC dc, Colour first, Colour last, int x1, int y1, int x2, int y2);
void DrawEtchedFrame(HDC dc, int x, int y, int w, int h, Colour outer, Colour inner, Colour corner);
// Theme background of `window` for a class list; false when there is no theme or it fails.
bool DrawThemedBackground(HWND window, HDC dc, const RECT& rect, const wchar_t* classList, int part,
                          int state);

}  // namespace sorvbutton
