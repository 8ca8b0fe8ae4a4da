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
  MemSurface(int w, int h) {
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w + 1, -(h + 1), 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    dc_ = CreateCompatibleDC(nullptr);
    bmp_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    old_ = SelectObject(dc_, bmp_);
    canvas.dc = dc_;
    canvas.W = w;
    canvas.H = h;
    canvas.Background(0x00FF00FF);  // magenta shows whatever nobody painted
  }
  ~MemSurface() {
    SelectObject(dc_, old_);
    DeleteObject(bmp_);
    DeleteDC(dc_);
  }
  MemSurface(const MemSurface&) = delete;
  MemSurface& operator=(const MemSurface&) = delete;
  COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }
  HDC dc() const { return dc_; }
  HBITMAP bitmap() const { return bmp_; }
  Canvas canvas;

 private:
  HDC dc_;
  HBITMAP bmp_;
  HGDIOBJ old_;
};

// Paints one button the way the control does and keeps the result.
struct Rendered {
  ButtonProps p;
  PaintState st;
  Ambient amb;
  MemSurface surface;
  Rendered(int w, int h, ButtonProps props, int state, bool focus = false, Ambient a = {})
      : p(std::move(props)), amb(a), surface(w, h) {
    st.ButtonState = state;
    st.IsShown = true;
    st.HasFocus = focus;
    st.ClientRect = RECT{0, 0, w, h};
    st.InnerRect = RECT{4, 4, w - 4, h - 4};
    st.CaptionFormat = CaptionFormatFor(p.CaptionAlign, st.CaptionFormat);
    RenderButton(surface.canvas, p, st, amb, nullptr, nullptr);
  }
  COLORREF At(int x, int y) const { return surface.At(x, y); }
};

inline COLORREF SysC(int index) { return GetSysColor(index); }
inline COLORREF Grey(int v) { return RGB(v, v, v); }

// A 16 by 16 icon, opaque, all `colour` except pixel (3, 3) in `spot`.
HICON MakeIcon(COLORREF colour, COLORREF spot);

// Writes a bitmap as a .bmp file, for people to look at.
bool SaveBitmap(HDC dc, HBITMAP bitmap, const std::wstring& path);

}  // namespace sorvbutton::test
