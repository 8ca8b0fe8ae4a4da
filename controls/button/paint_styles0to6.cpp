// Styles 0 to 4 and the themed style 6.
#include "painters.h"

namespace sorvbutton {

namespace {
Colour BaseColour(const FaceInput& in) {
  return in.useCustomColors ? in.backColor : Sys(COLOR_BTNFACE);
}
Colour HotColour(const FaceInput& in) {
  return in.useCustomColors ? in.highlightColor : Sys(COLOR_BTNFACE);
}
// Styles 1 and 2 share their background rule.
void FlatBackground(Canvas& cv, const FaceInput& in) {
  bool base = in.state == StateNormal || in.state == StateDisabled;
  cv.Background(base ? BaseColour(in) : HotColour(in));
}
void Outline(Canvas& cv) { DrawBox(cv.dc, 0, 0, cv.W - 1, cv.H - 1, cv.back); }
}  // namespace

void PaintStyle0(Canvas& cv, const FaceInput& in) {
  cv.Background(in.state == StateNormal ? BaseColour(in) : HotColour(in));
  DrawEdgeBox(cv.dc, 0, 0, cv.W, cv.H, in.state == StatePressed ? EDGE_SUNKEN : EDGE_RAISED,
              BF_RECT);
  if ((in.hasFocus && in.showFocus) || (!in.hasFocus && in.displayAsDefault))
    DrawBox(cv.dc, 0, 0, cv.W - 1, cv.H - 1, 0);
}

void PaintStyle1(Canvas& cv, const FaceInput& in) {
  FlatBackground(cv, in);
  if (in.state == StateDisabled)
    Outline(cv);
  else if (in.state == StatePressed)
    DrawEdgeBox(cv.dc, 0, 0, cv.W, cv.H, BDR_SUNKENOUTER, BF_RECT);
  else
    DrawEdgeBox(cv.dc, 0, 0, cv.W, cv.H, BDR_RAISEDINNER, BF_RECT);
}

void PaintStyle2(Canvas& cv, const FaceInput& in) {
  FlatBackground(cv, in);
  if (in.state == StateHot)
    DrawEdgeBox(cv.dc, 0, 0, cv.W, cv.H, BDR_RAISEDINNER, BF_RECT);
  else if (in.state == StatePressed)
    DrawEdgeBox(cv.dc, 0, 0, cv.W, cv.H, BDR_SUNKENOUTER, BF_RECT);
  else
    Outline(cv);
}

void PaintStyle3(Canvas& cv, const FaceInput& in, const RECT& inner) {
  Colour base = BaseColour(in);
  cv.Background(base);
  Colour fill = base;
  if (in.state == StateHot)
    fill = in.useCustomColors ? BlendColors(in.highlightColor, in.backColor)
                              : BlendColors(Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNFACE));
  else if (in.state == StatePressed)
    fill = in.useCustomColors ? in.highlightColor : Sys(COLOR_BTNSHADOW);
  FillRectColor(cv.dc, inner, fill);
  DrawEtchedFrame(cv.dc, 0, 0, cv.W - 1, cv.H - 1, Sys(COLOR_BTNSHADOW), Sys(COLOR_WINDOW), fill);
}

void PaintStyle4(Canvas& cv, const FaceInput& in) {
  if (in.state != StateHot && in.state != StatePressed) {
    FillBox(cv.dc, 0, 0, cv.W, cv.H, LightenColor(BaseColour(in), 32));
    return;
  }
  Colour frame = in.useCustomColors ? in.highlightColor : Sys(COLOR_HIGHLIGHT);
  FillBox(cv.dc, 0, 0, cv.W - 1, cv.H - 1, LightenColor(frame, in.state == StateHot ? 176 : 128));
  DrawBox(cv.dc, 0, 0, cv.W - 1, cv.H - 1, frame);
}

bool PaintStyle6(Canvas& cv, const FaceInput& in, HWND window) {
  cv.Background(Sys(COLOR_BTNFACE));
  int state = (in.hasFocus && in.state == StateNormal) ? 5 : in.state;
  RECT r{0, 0, cv.W, cv.H};
  return DrawThemedBackground(window, cv.dc, r, L"Button", 1, state);
}

}  // namespace sorvbutton
