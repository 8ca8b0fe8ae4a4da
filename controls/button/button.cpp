// The button's window: creation, the message map onto the handlers, the painted surface.
#include "button.h"

#include <windowsx.h>
#include <shellapi.h>

#include "icons.h"
#include "painters.h"
#include "render.h"

namespace sorvbutton {

namespace {
const wchar_t kClass[] = L"SorvButton";

LRESULT CALLBACK WndProcOf(HWND w, UINT m, WPARAM wp, LPARAM lp);

bool RegisterOnce() {
  static bool done = false;
  if (done) return true;
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  WNDCLASSW wc{};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = WndProcOf;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kClass;
  done = RegisterClassW(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  return done;
}

LOGFONTW DefaultFont(HWND parent) {
  LOGFONTW lf{};
  HFONT f = parent ? reinterpret_cast<HFONT>(SendMessageW(parent, WM_GETFONT, 0, 0)) : nullptr;
  if (!f) f = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  GetObjectW(f, sizeof lf, &lf);
  return lf;
}
}  // namespace

SorvButton::SorvButton() = default;

SorvButton::~SorvButton() {
  // Terminate: the tip first (it hooks the window too), then our own hook.
  RemoveTooltip();
  subclass_.StopAllSubclass();
  about_.Destroy();
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
  ResizeSurface(0, 0);
  if (hfont_) DeleteObject(hfont_);
}

bool SorvButton::Create(forms::Form& form, int left, int top, int width, int height,
                        forms::Control* container) {
  if (hwnd_ || !RegisterOnce()) return false;
  HWND w = CreateWin(form, container, kClass, L"", WS_TABSTOP | WS_CLIPSIBLINGS, 0, left, top,
                     width, height);
  if (!w) return false;
  hwnd_ = w;
  SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  st_.IsShown = true;
  Setup(GetParent(w));
  return true;
}

bool SorvButton::Create(HWND parent, int x, int y, int width, int height, int id, bool visible) {
  if (hwnd_ || !RegisterOnce()) return false;
  DWORD style = WS_CHILD | WS_TABSTOP | WS_CLIPSIBLINGS | (visible ? WS_VISIBLE : 0);
  HWND w = CreateWindowExW(0, kClass, L"", style, x, y, width, height, parent,
                           reinterpret_cast<HMENU>(INT_PTR(id)), GetModuleHandleW(nullptr), this);
  if (!w) return false;
  hwnd_ = w;
  st_.IsShown = visible;
  Setup(parent);
  return true;
}

void SorvButton::Setup(HWND parent) {
  font_ = DefaultFont(parent);
  ApplyFont();
  about_.Create(hwnd_);
  UserControl_Resize();
}

void SorvButton::ResizeSurface(int w, int h) {
  if (surface_.dc) {
    SelectObject(surface_.dc, surfaceOld_);
    DeleteObject(surfaceBitmap_);
    DeleteDC(surface_.dc);
    surface_.dc = nullptr;
    surfaceBitmap_ = nullptr;
  }
  surface_.W = w;
  surface_.H = h;
  if (w <= 0 || h <= 0) return;
  HDC screen = GetDC(nullptr);
  surface_.dc = CreateCompatibleDC(screen);
  // One pixel more each way: style 10 paints up to row H and column W, as a window would clip.
  surfaceBitmap_ = CreateCompatibleBitmap(screen, w + 1, h + 1);
  ReleaseDC(nullptr, screen);
  surfaceOld_ = SelectObject(surface_.dc, surfaceBitmap_);
  surface_.Background(SysColourRef(COLOR_BTNFACE));
}

void SorvButton::ApplyButtonRegion() {
  if (!hwnd_) return;
  // The window owns the region once set, and frees the one it had before.
  SetWindowRgn(hwnd_, RegionForStyle(p_.Style, surface_.W, surface_.H), TRUE);
}

void SorvButton::ApplyFont() {
  HFONT f = CreateFontIndirectW(&font_);
  if (!f) return;
  if (hfont_) DeleteObject(hfont_);
  hfont_ = f;
}

void SorvButton::Refresh() {
  if (!surface_.dc) return;
  ++refreshCount_;
  Ambient amb{container.UserMode, container.DisplayAsDefault};
  RenderButton(surface_, p_, st_, amb, hwnd_, hfont_);
  if (hwnd_ && IsWindowVisible(hwnd_)) {
    HDC dc = GetDC(hwnd_);
    BitBlt(dc, 0, 0, surface_.W, surface_.H, surface_.dc, 0, 0, SRCCOPY);
    ReleaseDC(hwnd_, dc);
  }
}

bool SorvButton::PaintIconGrayscale(HDC dc, HICON icon, int x, int y, int height, int width) {
  return sorvbutton::PaintIconGrayscale(dc, icon, x, y, height, width);
}

void SorvButton::About() { about_.Show(L"3.4.0"); }

INT_PTR SorvButton::OpenLink(const std::wstring& link) {
  return reinterpret_cast<INT_PTR>(
      ShellExecuteW(hwnd_, L"open", link.c_str(), L"1", L"1", SW_SHOWNORMAL));
}

void SorvButton::Raise(const std::function<void()>& event) {
  if (event) event();
}

namespace {
LRESULT CALLBACK WndProcOf(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_NCCREATE)
    SetWindowLongPtrW(
        w, GWLP_USERDATA,
        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
  return SorvButton::WndProc(w, m, wp, lp);
}
}  // namespace

LRESULT CALLBACK SorvButton::WndProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<SorvButton*>(GetWindowLongPtrW(w, GWLP_USERDATA));
  if (!self || !self->hwnd_) return DefWindowProcW(w, m, wp, lp);
  return self->Handle(m, wp, lp);
}

LRESULT SorvButton::Handle(UINT m, WPARAM wp, LPARAM lp) {
  switch (m) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      Refresh();
      if (surface_.dc) BitBlt(dc, 0, 0, surface_.W, surface_.H, surface_.dc, 0, 0, SRCCOPY);
      EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_SIZE:
      UserControl_Resize();
      return 0;
    case WM_SHOWWINDOW:
      if (wp)
        UserControl_Show();
      else
        UserControl_Hide();
      break;
    case WM_SETFOCUS:
      UserControl_GotFocus();
      return 0;
    case WM_KILLFOCUS:
      UserControl_LostFocus();
      return 0;
    case WM_GETDLGCODE:
      // A button to the dialog manager: the caption's access key comes as BM_CLICK.
      return DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_BUTTON;
    case BM_CLICK:
      if (p_.Enabled) UserControl_AccessKeyPress();
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      int button = m == WM_LBUTTONDOWN ? 1 : m == WM_RBUTTONDOWN ? 2 : 4;
      if (GetFocus() != hwnd_) ::SetFocus(hwnd_);
      SetCapture(hwnd_);
      downButton_ = button;
      afterDblClick_ = false;
      UserControl_MouseDown(button);
      return 0;
    }
    case WM_LBUTTONDBLCLK:
      SetCapture(hwnd_);
      downButton_ = 1;
      afterDblClick_ = true;
      UserControl_DblClick();
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      int button = m == WM_LBUTTONUP ? 1 : m == WM_RBUTTONUP ? 2 : 4;
      bool wasDown = downButton_ == button;
      if (GetCapture() == hwnd_) ReleaseCapture();
      downButton_ = 0;
      UserControl_MouseUp(button);
      // A click completes when the press began here and ends over the control; the
      // release that ends a double click completes none.
      POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      RECT rc;
      GetClientRect(hwnd_, &rc);
      if (wasDown && !afterDblClick_ && PtInRect(&rc, pt)) UserControl_Click();
      afterDblClick_ = false;
      return 0;
    }
    case WM_CAPTURECHANGED:
      // Another window took the mouse mid-press: its release no longer completes a click.
      if (reinterpret_cast<HWND>(lp) != hwnd_) downButton_ = 0;
      break;
    case WM_KEYDOWN:
      UserControl_KeyDown(int(wp));
      return 0;
    case WM_KEYUP:
      UserControl_KeyUp(int(wp));
      return 0;
    case WM_CHAR:
      UserControl_KeyPress(int(wp));
      return 0;
    case WM_SETCURSOR:
      if (mousePointer_ != 0 && LOWORD(lp) == HTCLIENT) {
        static const LPCWSTR cursors[] = {IDC_ARROW,    IDC_ARROW,       IDC_CROSS,    IDC_IBEAM,
                                          IDC_ICON,     IDC_SIZEALL,     IDC_SIZENESW, IDC_SIZENS,
                                          IDC_SIZENWSE, IDC_SIZEWE,      IDC_UPARROW,  IDC_WAIT,
                                          IDC_NO,       IDC_APPSTARTING, IDC_HELP,     IDC_SIZEALL};
        if (mousePointer_ > 0 && mousePointer_ < 16) {
          SetCursor(LoadCursorW(nullptr, cursors[mousePointer_]));
          return TRUE;
        }
      }
      break;
    case WM_ENABLE:
      // The form may enable or disable the window itself; the property follows it.
      if (p_.Enabled != (wp != 0)) {
        p_.Enabled = wp != 0;
        st_.ButtonState = StateNormal;
      }
      Refresh();
      return 0;
    case WM_SETFONT:
      // The hosting form hands every control its font.
      if (wp && GetObjectW(reinterpret_cast<HFONT>(wp), sizeof font_, &font_)) {
        ApplyFont();
        if (lp) Refresh();
      }
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(hfont_);
    case WM_NCDESTROY: {
      HWND w = hwnd_;
      SetWindowLongPtrW(w, GWLP_USERDATA, 0);
      hwnd_ = nullptr;
      return DefWindowProcW(w, m, wp, lp);
    }
  }
  return DefWindowProcW(hwnd_, m, wp, lp);
}

}  // namespace sorvbutton
