#include "about.h"

#include <string>

#include "primitives.h"

namespace sorvbutton {

namespace {
const wchar_t kClass[] = L"SorvButtonAbout";
const RECT kClose{290, 80, 360, 106};

HFONT MakeFont(HDC dc, int points, bool underline, bool bold) {
  return CreateFontW(-MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0,
                     bold ? FW_BOLD : FW_NORMAL, FALSE, underline, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_SWISS, L"MS Shell Dlg");
}

void Text(HDC dc, const std::wstring& text, RECT r, int points, bool underline = false) {
  HFONT font = MakeFont(dc, points, underline, false);
  HGDIOBJ old = SelectObject(dc, font);
  DrawTextW(dc, text.c_str(), -1, &r, DT_SINGLELINE | DT_VCENTER);
  SelectObject(dc, old);
  DeleteObject(font);
}
}  // namespace

AboutPanel::~AboutPanel() { Destroy(); }

bool AboutPanel::Create(HWND owner) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = kClass;
    registered = RegisterClassW(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }
  hwnd_ = CreateWindowExW(0, kClass, L"", WS_CHILD, 0, 0, 380, 120, owner, nullptr,
                          GetModuleHandleW(nullptr), this);
  return hwnd_ != nullptr;
}

void AboutPanel::Destroy() {
  if (hwnd_) DestroyWindow(hwnd_);
  hwnd_ = nullptr;
}

void AboutPanel::Show(const wchar_t* version) {
  if (!hwnd_) return;
  version_ = version;
  ShowWindow(hwnd_, SW_SHOWNA);
  // A window standing alone cannot keep the child style, whatever was recorded.
  LONG style = (savedStyle_ & ~WS_CHILD) | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
  SetWindowLongPtrW(hwnd_, GWL_STYLE, style);
  SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_FRAMECHANGED);
  std::wstring title = L"About SorvButton ";
  SetWindowTextW(hwnd_, (title + version).c_str());
  SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  SetParent(hwnd_, nullptr);
}

void AboutPanel::PaintClose(HDC dc, bool pressed) {
  Colour face = Colour(GetSysColor(COLOR_BTNFACE));
  Colour light = ShiftColor(face, 15), dark = ShiftColor(face, -15);
  int n = kClose.bottom - kClose.top;
  DrawGradientV(dc, pressed ? dark : light, pressed ? light : dark, kClose.left, kClose.top,
                kClose.right, n);
  DrawBox(dc, kClose.left, kClose.top, kClose.right - kClose.left, n,
          Colour(GetSysColor(COLOR_BTNSHADOW)));
  for (POINT p : {POINT{kClose.left, kClose.top}, POINT{kClose.right, kClose.top},
                  POINT{kClose.left, kClose.bottom}, POINT{kClose.right, kClose.bottom}})
    SetPixelColour(dc, p.x, p.y, face);
  SetTextColor(dc, RGB(0, 0, 255));
  HFONT font = MakeFont(dc, 8, true, false);
  HGDIOBJ old = SelectObject(dc, font);
  RECT r = kClose;
  DrawTextW(dc, L"Close", -1, &r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  SelectObject(dc, old);
  DeleteObject(font);
}

void AboutPanel::Paint(HDC dc) {
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  Text(dc, L"SorvButton", RECT{20, 10, 220, 40}, 18);
  Text(dc, std::wstring(L"Version ") + version_, RECT{160, 35, 360, 55}, 10);
  Text(dc, L"Owner-drawn push button, written for Sorvane", RECT{20, 55, 360, 75}, 8);
  PaintClose(dc, pressed_);
}

LRESULT CALLBACK AboutPanel::WndProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_NCCREATE)
    SetWindowLongPtrW(
        w, GWLP_USERDATA,
        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
  auto* self = reinterpret_cast<AboutPanel*>(GetWindowLongPtrW(w, GWLP_USERDATA));
  if (!self) return DefWindowProcW(w, m, wp, lp);
  switch (m) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(w, &ps);
      self->Paint(dc);
      EndPaint(w, &ps);
      return 0;
    }
    case WM_LBUTTONDOWN: {
      self->pressed_ = true;
      HDC dc = GetDC(w);
      self->PaintClose(dc, true);
      ReleaseDC(w, dc);
      SetCapture(w);
      return 0;
    }
    case WM_LBUTTONUP:
      if (self->pressed_) {
        self->pressed_ = false;
        ReleaseCapture();
        ShowWindow(w, SW_HIDE);  // a click anywhere closes the panel
      }
      return 0;
    case WM_CLOSE:
      ShowWindow(w, SW_HIDE);
      return 0;
    case WM_NCDESTROY:
      self->hwnd_ = nullptr;
      break;
  }
  return DefWindowProcW(w, m, wp, lp);
}

}  // namespace sorvbutton
