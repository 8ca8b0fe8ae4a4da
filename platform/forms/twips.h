// Twips: the unit of every form and control position (1440 to the inch).
#pragma once
#include <windows.h>

namespace forms {

int TwipsPerPixelX();  // 15 at 96 dpi
int TwipsPerPixelY();
int PixelsX(int twips);  // nearest whole pixel
int PixelsY(int twips);
int TwipsX(int pixels);
int TwipsY(int pixels);

// Moves a window to a place given in twips; a negative width or height keeps the one of
// `current` (the window's rectangle in pixels).
void MoveTwips(HWND hwnd, const RECT& current, int left, int top, int width, int height);
// Repaints a window and its children now.
void RedrawAll(HWND hwnd);

// The primary screen in twips.
struct Screen {
  static int Width();
  static int Height();
};

}  // namespace forms
