#include "render.h"

#include "icons.h"
#include "painters.h"

namespace sorvbutton {

POINT IconPosition(int iconAlign, int W, int H, int size, int margin) {
  int cx = RoundHalfEven((W - size) / 2.0), cy = RoundHalfEven((H - size) / 2.0);
  switch (iconAlign) {
    case 0:
      return {cx, cy};
    case 1:
      return {margin, cy};
    case 2:
      return {W - size - margin, cy};
    case 3:
      return {cx, margin};
    case 4:
      return {cx, H - size - margin};
    default:
      return {0, 0};
  }
}

UINT CaptionFormatFor(int captionAlign, UINT current) {
  switch (captionAlign) {
    case 0:
      return DT_SINGLELINE | DT_VCENTER | DT_CENTER;
    case 1:
      return DT_SINGLELINE | DT_VCENTER | DT_LEFT;
    case 2:
      return DT_SINGLELINE | DT_VCENTER | DT_RIGHT;
    case 3:
      return DT_SINGLELINE | DT_TOP | DT_CENTER;
    case 4:
      return DT_SINGLELINE | DT_BOTTOM | DT_CENTER;
    default:
      return current;
  }
}

namespace {

// Paints the face; returns the icon margin of the style.
int PaintFace(Canvas& cv, ButtonProps& p, const PaintState& st, const Ambient& amb, HWND window) {
  FaceInput in{st.ButtonState,    st.HasFocus, p.ShowFocus,     amb.DisplayAsDefault,
               p.UseCustomColors, p.BackColor, p.HighlightColor};
  switch (p.Style) {
    case 0:
      PaintStyle0(cv, in);
      break;
    case 1:
      PaintStyle1(cv, in);
      break;
    case 2:
      PaintStyle2(cv, in);
      break;
    case 3:
      PaintStyle3(cv, in, st.InnerRect);
      break;
    case 4:
      PaintStyle4(cv, in);
      break;
    case 5:
      if (p.UseCustomColors)
        PaintStyle5Custom(cv, in);
      else
        PaintStyle5(cv, in);
      return 5;
    case 6:
      // Without a theme this paint shows the plain face; later paints use the fall-back.
      if (!PaintStyle6(cv, in, window)) p.Style = p.NonThemeStyle;
      break;
    case 7:
      PaintStyle7(cv, in);
      return 5;
    case 8:
      PaintStyle8(cv, in);
      return 4;
    case 9:
      PaintStyle9(cv, in);
      return 7;
    case 10:
      PaintStyle10(cv, in);
      return 7;
    default:
      break;
  }
  return 4;
}

void PaintIcon(Canvas& cv, const ButtonProps& p, const PaintState& st, int margin) {
  if (!p.Icon) return;
  int S = p.IconSize;
  POINT at = IconPosition(p.IconAlign, cv.W, cv.H, S, margin);
  if (st.ButtonState == StatePressed) {
    at.x += 1;
    at.y += 1;
  } else if (st.ButtonState == StateHot && p.Style == 4) {
    DrawIconShadow(cv.dc, p.Icon, at.x, at.y, S, p.UseMaskColor, p.MaskColor);
    at.x -= 2;
    at.y -= 2;
  }
  if (p.UseMaskColor)
    DrawIconMasked(cv.dc, p.Icon, at.x, at.y, S, p.MaskColor, !p.Enabled);
  else if (p.Enabled)
    DrawIconScaled(cv.dc, p.Icon, at.x, at.y, S);
  else
    PaintIconGrayscale(cv.dc, p.Icon, at.x, at.y, S, S);
}

void DrawCaption(Canvas& cv, const ButtonProps& p, const PaintState& st, HFONT font) {
  Colour text;
  if (st.ButtonState == StateDisabled)
    text = TranslateColor(SysColourRef(COLOR_GRAYTEXT));
  else if (!p.UseCustomColors)
    text = Sys(COLOR_BTNTEXT);
  else
    text = st.ButtonState == StateNormal ? p.FontColor : p.FontHighlightColor;
  COLORREF oldText = SetTextColor(cv.dc, Gdi(TranslateColor(text)));
  int oldMode = SetBkMode(cv.dc, TRANSPARENT);
  HGDIOBJ oldFont = font ? SelectObject(cv.dc, font) : nullptr;
  RECT r = st.InnerRect;
  DrawTextW(cv.dc, p.Caption.c_str(), -1, &r, st.CaptionFormat);
  if (oldFont) SelectObject(cv.dc, oldFont);
  SetBkMode(cv.dc, oldMode);
  SetTextColor(cv.dc, oldText);
}

}  // namespace

void RenderButton(Canvas& cv, ButtonProps& p, PaintState& st, const Ambient& amb, HWND themeWindow,
                  HFONT font) {
  cv.Cls();
  if (!st.IsShown) return;
  if (!amb.UserMode && p.Style != 5) st.ButtonState = StateHot;
  if (p.ButtonType == 1 && p.Value) st.ButtonState = StatePressed;
  if (!p.Enabled) {
    st.ButtonState = StateDisabled;
    cv.Background(Sys(COLOR_BTNFACE));
  }
  int margin = PaintFace(cv, p, st, amb, themeWindow);
  PaintIcon(cv, p, st, margin);
  DrawCaption(cv, p, st, font);
}

}  // namespace sorvbutton
