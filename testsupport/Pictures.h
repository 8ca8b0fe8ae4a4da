// Pictures of windows, kept as BMP files for people to look at and checked by their tests.
#pragma once
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace testsupport {

struct Picture {
  int width = 0, height = 0;
  std::vector<COLORREF> pixels;  // top-down rows

  COLORREF At(int x, int y) const { return pixels[size_t(y) * width + x]; }
  bool Empty() const { return pixels.empty(); }

  // Reads a DC's bitmap area of the given size at (x, y) into the picture.
  static Picture From(HDC source, int x, int y, int w, int h) {
    Picture p;
    BITMAPINFOHEADER info{sizeof info, w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(source);
    HBITMAP bmp = CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits,
                                   nullptr, 0);
    if (!bmp) {
      DeleteDC(dc);
      return p;
    }
    HGDIOBJ old = SelectObject(dc, bmp);
    BitBlt(dc, 0, 0, w, h, source, x, y, SRCCOPY);
    GdiFlush();
    p.width = w;
    p.height = h;
    for (int i = 0; i < w * h; ++i) {  // BGRX in memory, COLORREF is 0x00BBGGRR
      const BYTE* b = static_cast<const BYTE*>(bits) + i * 4;
      p.pixels.push_back(RGB(b[2], b[1], b[0]));
    }
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    return p;
  }

  // A 24-bit BMP file, or an empty picture when the file is not one.
  static Picture Load(const std::wstring& file) {
    Picture p;
    FILE* in = _wfopen(file.c_str(), L"rb");
    if (!in) return p;
    std::vector<BYTE> data;
    BYTE chunk[4096];
    for (size_t n; (n = fread(chunk, 1, sizeof chunk, in)) > 0;)
      data.insert(data.end(), chunk, chunk + n);
    fclose(in);
    BITMAPFILEHEADER head;
    BITMAPINFOHEADER info;
    if (data.size() < sizeof head + sizeof info) return p;
    memcpy(&head, data.data(), sizeof head);
    memcpy(&info, data.data() + sizeof head, sizeof info);
    const int w = info.biWidth, h = info.biHeight < 0 ? -info.biHeight : info.biHeight;
    const size_t stride = size_t(w * 3 + 3) & ~size_t(3);
    if (info.biBitCount != 24 || data.size() < head.bfOffBits + stride * h) return p;
    p.width = w;
    p.height = h;
    for (int y = 0; y < h; ++y) {
      const BYTE* row = &data[head.bfOffBits + stride * (info.biHeight > 0 ? h - 1 - y : y)];
      for (int x = 0; x < w; ++x)
        p.pixels.push_back(RGB(row[3 * x + 2], row[3 * x + 1], row[3 * x]));
    }
    return p;
  }

  // A 24-bit BMP file.
  bool Save(const std::wstring& file) const {
    const int stride = (width * 3 + 3) & ~3;
    std::vector<BYTE> bits(size_t(stride) * height);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        BYTE* b = &bits[size_t(height - 1 - y) * stride + x * 3];  // bottom-up rows
        COLORREF c = At(x, y);
        b[0] = GetBValue(c), b[1] = GetGValue(c), b[2] = GetRValue(c);
      }
    BITMAPINFOHEADER info{sizeof info, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    const DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof info;
    BITMAPFILEHEADER head{0x4D42, DWORD(offset + bits.size()), 0, 0, offset};
    FILE* out = _wfopen(file.c_str(), L"wb");
    if (!out) return false;
    bool ok = fwrite(&head, sizeof head, 1, out) == 1 && fwrite(&info, sizeof info, 1, out) == 1 &&
              fwrite(bits.data(), 1, bits.size(), out) == bits.size();
    return fclose(out) == 0 && ok;
  }
};

// The window's area of the display, as it shows now.
inline Picture ShownWindow(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  HDC screen = GetDC(nullptr);
  Picture p = Picture::From(screen, r.left, r.top, r.right - r.left, r.bottom - r.top);
  ReleaseDC(nullptr, screen);
  return p;
}

// The window's area of the display once `shows` accepts it, or the last one after `ms`
// milliseconds. Right after a window is shown the display can still hold what was there
// before, so the picture is taken again, with this thread's messages dispatched between
// the looks (a window of this thread paints only then).
template <class Check>
Picture ShownWindowWhen(HWND hwnd, Check shows, DWORD ms) {
  RedrawWindow(hwnd, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  for (const DWORD start = GetTickCount();; Sleep(50)) {
    for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) DispatchMessageW(&msg);
    Picture p = ShownWindow(hwnd);
    if (shows(p) || GetTickCount() - start >= ms) return p;
  }
}

// Where a part of a window lies in its picture.
inline RECT InPicture(HWND window, HWND part) {
  RECT w, r;
  GetWindowRect(window, &w);
  GetWindowRect(part, &r);
  OffsetRect(&r, -w.left, -w.top);
  return r;
}

// The caption bar of a window with a frame, in the window's picture.
inline RECT CaptionBar(HWND hwnd) {
  RECT w;
  GetWindowRect(hwnd, &w);
  POINT client{0, 0};
  ClientToScreen(hwnd, &client);
  const int border = client.x - w.left;
  return RECT{border, border, (w.right - w.left) - border, client.y - w.top};
}

inline int Distance(COLORREF a, COLORREF b) {
  auto d = [](int x, int y) { return x > y ? x - y : y - x; };
  int r = d(GetRValue(a), GetRValue(b)), g = d(GetGValue(a), GetGValue(b)),
      bl = d(GetBValue(a), GetBValue(b));
  return r > g ? (r > bl ? r : bl) : (g > bl ? g : bl);
}

// How many pixels of the area lie within `tolerance` levels of the colour.
inline int CountNear(const Picture& p, RECT area, COLORREF c, int tolerance) {
  int n = 0;
  for (int y = area.top; y < area.bottom && y < p.height; ++y)
    for (int x = area.left; x < area.right && x < p.width; ++x)
      n += Distance(p.At(x, y), c) <= tolerance;
  return n;
}

// Pixels of the window's title text in its caption bar, left of the caption buttons.
inline int TitlePixels(const Picture& p, HWND hwnd) {
  RECT bar = CaptionBar(hwnd);
  bar.right -= 3 * GetSystemMetrics(SM_CXSIZE);
  return CountNear(p, bar, GetSysColor(COLOR_CAPTIONTEXT), 0x20) +
         CountNear(p, bar, GetSysColor(COLOR_INACTIVECAPTIONTEXT), 0x20);
}

// The close button's glyph is a cross, the same mirrored left to right and top to bottom;
// drawn without its symbol font it is the letter "r", which is neither. Share of the dark
// pixels of the rightmost caption button whose mirror images are dark too, 0 when none.
inline double CloseGlyphSymmetry(const Picture& p, HWND hwnd) {
  RECT bar = CaptionBar(hwnd);
  RECT button{bar.right - GetSystemMetrics(SM_CXSIZE), bar.top, bar.right, bar.bottom};
  auto dark = [&](int x, int y) { return Distance(p.At(x, y), RGB(0, 0, 0)) < 0x50; };
  RECT box{button.right, button.bottom, button.left, button.top};  // bounds of the dark pixels
  for (int y = button.top + 2; y < button.bottom - 2; ++y)
    for (int x = button.left + 2; x < button.right - 2; ++x)
      if (dark(x, y)) {
        box.left = x < box.left ? x : box.left, box.right = x > box.right ? x : box.right;
        box.top = y < box.top ? y : box.top, box.bottom = y > box.bottom ? y : box.bottom;
      }
  int all = 0, mirrored = 0;
  for (int y = box.top; y <= box.bottom; ++y)
    for (int x = box.left; x <= box.right; ++x)
      if (dark(x, y)) {
        ++all;
        mirrored += dark(box.left + box.right - x, y) && dark(x, box.top + box.bottom - y);
      }
  return all ? double(mirrored) / all : 0;
}

}  // namespace testsupport
