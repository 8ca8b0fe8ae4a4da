// Icon drawing of the button: scaled, masked by a colour, grey, and the drop shadow.
#pragma once
#include <windows.h>

#include "colours.h"

namespace sorvbutton {

// Draws the icon in grey (weighted grey, the stock greys kept); false when not drawn.
bool PaintIconGrayscale(HDC dest, HICON icon, int x, int y, int height, int width);
void DrawIconScaled(HDC dest, HICON icon, int x, int y, int size);
// Copies the icon's pixels except those of the mask colour; `grey` turns each copied
// pixel into its plain grey (the disabled look).
void DrawIconMasked(HDC dest, HICON icon, int x, int y, int size, Colour mask, bool grey);
// Paints the icon's silhouette in 0x808080 at (x, y): the hot style 4 drop shadow.
void DrawIconShadow(HDC dest, HICON icon, int x, int y, int size, bool useMask, Colour mask);

}  // namespace sorvbutton
