#include "control.h"

#include <commctrl.h>
#include <windowsx.h>

#include "form.h"
#include "guard.h"
#include "twips.h"

namespace forms {

Control::~Control() { Detach(); }

void Control::Detach() {
  if (hwnd_ && IsWindow(hwnd_)) RemoveWindowSubclass(hwnd_, SubclassProc, 0);
  if (form_) form_->controls_.erase(id_);
  hwnd_ = nullptr;
  form_ = nullptr;
}

HWND Control::CreateWin(Form& form, Control* container, const wchar_t* windowClass,
                        const std::wstring& text, DWORD style, DWORD exStyle, int left, int top,
                        int width, int height) {
  form.Load();
  int id = form.NextId();
  HWND parent = container && container->hWnd() ? container->hWnd() : form.hWnd();
  HWND hwnd = CreateWindowExW(exStyle, windowClass, text.c_str(), style | WS_CHILD | WS_VISIBLE,
                              PixelsX(left), PixelsY(top), PixelsX(width), PixelsY(height), parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              GetModuleHandleW(nullptr), nullptr);
  if (!hwnd) return nullptr;
  SetWindowLongPtrW(hwnd, GWLP_ID, id);
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(form.Font()), FALSE);
  Attach(form, hwnd);
  return hwnd;
}

void Control::Attach(Form& form, HWND hwnd) {
  Detach();
  hwnd_ = hwnd;
  form_ = &form;
  id_ = GetDlgCtrlID(hwnd);
  if (!id_ || form.controls_.count(id_)) {
    id_ = form.NextId();
    SetWindowLongPtrW(hwnd, GWLP_ID, id_);
  }
  form.controls_[id_] = this;
  SetWindowSubclass(hwnd, SubclassProc, 0, reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CALLBACK Control::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                       DWORD_PTR data) {
  auto* self = reinterpret_cast<Control*>(data);
  if (msg == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, SubclassProc, 0);
    if (self->form_) self->form_->controls_.erase(self->id_);
    self->hwnd_ = nullptr;
    self->form_ = nullptr;
    return DefSubclassProc(hwnd, msg, wp, lp);
  }
  LRESULT result = 0;
  bool handled = false;
  if (!Guarded([&] { handled = self->OnMessage(msg, wp, lp, result); })) return 0;
  return handled ? result : DefSubclassProc(hwnd, msg, wp, lp);
}

int ShiftState() {
  return (GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
         (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

namespace {

int MouseButton(UINT msg) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
      return 1;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      return 2;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
      return 4;
  }
  return 0;
}

}  // namespace

bool Control::OnMessage(UINT msg, WPARAM, LPARAM lp, LRESULT&) {
  switch (msg) {
    case WM_SETFOCUS:
      if (GotFocus) GotFocus();
      break;
    case WM_KILLFOCUS:
      if (LostFocus) LostFocus();
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      if (MouseDown)
        MouseDown(MouseButton(msg), ShiftState(), TwipsX(GET_X_LPARAM(lp)),
                  TwipsY(GET_Y_LPARAM(lp)));
      break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      if (MouseUp)
        MouseUp(MouseButton(msg), ShiftState(), TwipsX(GET_X_LPARAM(lp)), TwipsY(GET_Y_LPARAM(lp)));
      break;
  }
  return false;  // the control's own procedure still runs
}

bool Control::Reflect(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

LRESULT Control::Send(UINT msg, WPARAM wp, LPARAM lp) const {
  return hwnd_ ? SendMessageW(hwnd_, msg, wp, lp) : 0;
}

bool Control::Enabled() const { return hwnd_ && IsWindowEnabled(hwnd_); }
void Control::Enabled(bool on) {
  if (hwnd_) EnableWindow(hwnd_, on);
}
bool Control::Visible() const { return hwnd_ && (GetWindowLongW(hwnd_, GWL_STYLE) & WS_VISIBLE); }
void Control::Visible(bool on) {
  if (hwnd_) ShowWindow(hwnd_, on ? SW_SHOWNA : SW_HIDE);
}

namespace {

// The control's rectangle in its parent's client coordinates, in pixels.
RECT ParentRect(HWND hwnd) {
  RECT r{};
  if (!hwnd) return r;
  GetWindowRect(hwnd, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

}  // namespace

int Control::Left() const { return TwipsX(ParentRect(hwnd_).left); }
int Control::Top() const { return TwipsY(ParentRect(hwnd_).top); }
int Control::Width() const {
  RECT r = ParentRect(hwnd_);
  return TwipsX(r.right - r.left);
}
int Control::Height() const {
  RECT r = ParentRect(hwnd_);
  return TwipsY(r.bottom - r.top);
}
void Control::Left(int twips) { Move(twips, Top()); }
void Control::Top(int twips) { Move(Left(), twips); }
void Control::Width(int twips) { Move(Left(), Top(), twips); }
void Control::Height(int twips) { Move(Left(), Top(), -1, twips); }

void Control::Move(int left, int top, int width, int height) {
  if (!hwnd_) return;
  MoveTwips(hwnd_, ParentRect(hwnd_), left, top, width, height);
}

void Control::Refresh() { RedrawAll(hwnd_); }

void Control::SetFocus() {
  if (hwnd_) ::SetFocus(hwnd_);
}

std::wstring Control::Caption() const {
  if (!hwnd_) return {};
  int n = GetWindowTextLengthW(hwnd_);
  std::wstring s(n + 1, L'\0');
  s.resize(GetWindowTextW(hwnd_, s.data(), n + 1));
  return s;
}

void Control::Caption(const std::wstring& text) {
  if (hwnd_) SetWindowTextW(hwnd_, text.c_str());
}

void Control::ToolTipText(const std::wstring& text) {
  tip_ = text;
  if (!hwnd_ || !form_) return;
  HWND tip = form_->ToolTip();
  TTTOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = form_->hWnd();
  ti.uId = reinterpret_cast<UINT_PTR>(hwnd_);
  ti.lpszText = const_cast<wchar_t*>(tip_.c_str());
  SendMessageW(tip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  if (!tip_.empty()) SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

}  // namespace forms
