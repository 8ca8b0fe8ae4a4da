#pragma once
// Icons drawn in code rather than kept as resource files.
#include <windows.h>

#include <functional>

// A square icon of `size` pixels: `paint` draws the mask (mask true: black where the picture
// is, white around it) and then the colours (mask false, on black).
HICON DrawnIcon(int size, const std::function<void(HDC dc, bool mask)>& paint);

// Fills the rectangle with one colour.
void FillBox(HDC dc, int left, int top, int right, int bottom, COLORREF colour);
