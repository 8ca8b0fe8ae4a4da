// Test surfaces: a 32-bit memory bitmap to paint into and read pixels back from.
#pragma once
#include <windows.h>

#include <string>

#include "canvas.h"
#include "props.h"
#include "render.h"

namespace sorvbutton::test {

class MemSurface {
 public:
  MemSurface(int w, int h);  // one pixel more each way: the painters reach W and H
  ~MemSurface();
  MemSurface(const MemSurface&) = delete;
  MemSurface& operator=(const MemSurface&) = delete;
  COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }
  HDC dc() const { return dc_; }
  Canvas canvas;

 private:
  BITMAPINFOHEADER head_;
  void* bits_ = nullptr;
  HDC dc_;
  HBITMAP bmp_;
  HGDIOBJ old_;
};

// Paints one button the way the control does and keeps the result. StateDisabled stands
// for a button with Enabled false.
struct Rendered {
  ButtonProps p;
  PaintState st;
  MemSurface surface;
  Rendered(int w, int h, ButtonProps props, int state, bool focus = false, Ambient amb = {})
      : p(std::move(props)), surface(w, h) {
    if (state == StateDisabled) p.Enabled = false;
    st = {state, true, focus, RECT{0, 0, w, h}, RECT{4, 4, w - 4, h - 4}};
    st.CaptionFormat = CaptionFormatFor(p.CaptionAlign, st.CaptionFormat);
    RenderButton(surface.canvas, p, st, amb, nullptr, nullptr);
  }
  COLORREF At(int x, int y) const { return surface.At(x, y); }
};

inline COLORREF SysC(int index) { return GetSysColor(index); }
inline COLORREF Grey(int v) { return RGB(v, v, v); }

// A 16 by 16 icon, opaque, all `colour` except pixel (3, 3) in `spot`.
HICON MakeIcon(COLORREF colour, COLORREF spot);

}  // namespace sorvbutton::test
