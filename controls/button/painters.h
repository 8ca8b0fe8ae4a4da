// The face painters of the eleven styles. Each paints the whole face on the canvas;
// icon and caption are drawn afterwards by RenderButton.
#pragma once
#include "canvas.h"
#include "props.h"

namespace sorvbutton {

struct FaceInput {
  int state = StateNormal;
  bool hasFocus = false;
  bool showFocus = false;
  bool displayAsDefault = false;
  bool useCustomColors = false;
  Colour backColor = 0;
  Colour highlightColor = 0;
};

void PaintStyle0(Canvas& cv, const FaceInput& in);
void PaintStyle1(Canvas& cv, const FaceInput& in);
void PaintStyle2(Canvas& cv, const FaceInput& in);
void PaintStyle3(Canvas& cv, const FaceInput& in, const RECT& inner);
void PaintStyle4(Canvas& cv, const FaceInput& in);
// False when no theme could draw the face (the caller then falls back).
bool PaintStyle6(Canvas& cv, const FaceInput& in, HWND window);
void PaintStyle5(Canvas& cv, const FaceInput& in);
void PaintStyle5Custom(Canvas& cv, const FaceInput& in);
void PaintStyle7(Canvas& cv, const FaceInput& in);
void PaintStyle8(Canvas& cv, const FaceInput& in);
void PaintStyle9(Canvas& cv, const FaceInput& in);
void PaintStyle10(Canvas& cv, const FaceInput& in);

// Shaped window outlines; the caller owns the region until it hands it to the window.
HRGN CutCornerRegion(int W, int H);
HRGN CutCornerRegionWide(int W, int H);
HRGN RoundRegion(int W, int H);
HRGN RegionForStyle(int style, int W, int H);

}  // namespace sorvbutton
