// Refresh of one button onto a canvas: settles the state, paints the face of the style,
// then the icon and the caption. Independent of any window but the theme's.
#pragma once
#include "canvas.h"
#include "props.h"

namespace sorvbutton {

// Mutates st.ButtonState (design, toggle and disabled overrides) and p.Style (style 6
// falling back to NonThemeStyle), as the control keeps them.
void RenderButton(Canvas& cv, ButtonProps& p, PaintState& st, const Ambient& amb, HWND themeWindow,
                  HFONT font);

// Top-left corner of the icon for an alignment, halves rounded to even.
POINT IconPosition(int iconAlign, int W, int H, int size, int margin);
// DrawText flags for a caption alignment; other values keep `current`.
UINT CaptionFormatFor(int captionAlign, UINT current);

}  // namespace sorvbutton
