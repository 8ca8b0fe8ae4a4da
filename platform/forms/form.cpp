#include "form.h"

#include <commctrl.h>

#include <algorithm>

#include "controls.h"
#include "guard.h"
#include "menu.h"
#include "statusbar.h"
#include "timer.h"
#include "twips.h"

namespace forms {
namespace {

const wchar_t kClass[] = L"SorvForm";
const wchar_t kProp[] = L"SorvForm";

std::vector<Form*>& List() {
  static std::vector<Form*> forms;
  return forms;
}

Form* lastActive = nullptr;

Form* FormOf(HWND hwnd) { return hwnd ? static_cast<Form*>(GetPropW(hwnd, kProp)) : nullptr; }

HFONT MessageFont() {
  static HFONT font;
  if (!font) {
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0))
      font = CreateFontIndirectW(&ncm.lfMessageFont);
    if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  }
  return font;
}

// Owner of the forms that have no taskbar button.
HWND HiddenOwner() {
  static HWND owner;
  if (!owner)
    owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  return owner;
}

void Register(WNDPROC proc) {
  static bool done;
  if (done) return;
  done = true;
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hIcon = LoadIconW(wc.hInstance, MAKEINTRESOURCEW(1));
  if (!wc.hIcon) wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClass;
  RegisterClassExW(&wc);
}

void Styles(BorderStyle border, DWORD& style, DWORD& ex) {
  ex = WS_EX_CONTROLPARENT;
  style = WS_OVERLAPPEDWINDOW;
  switch (border) {
    case BorderStyle::None:
      style = WS_POPUP;
      break;
    case BorderStyle::FixedSingle:
      style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
      break;
    case BorderStyle::Sizable:
      style = WS_OVERLAPPEDWINDOW;
      break;
    case BorderStyle::FixedDialog:
      style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
      ex |= WS_EX_DLGMODALFRAME;
      break;
  }
  style |= WS_CLIPSIBLINGS;
}

RECT WindowPixels(HWND hwnd) {
  RECT r{};
  if (hwnd) GetWindowRect(hwnd, &r);
  return r;
}

}  // namespace

const std::vector<Form*>& Forms() { return List(); }

Form::Form() = default;

Form::~Form() {
  if (!hwnd_) return;
  // The derived part is gone: no hook may run any more.
  HWND h = hwnd_;
  Forget();
  RemovePropW(h, kProp);
  DestroyWindow(h);
}

void Form::Forget() {
  auto& list = List();
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  if (lastActive == this) lastActive = nullptr;
  hwnd_ = nullptr;
  menuBar_ = nullptr;
  tooltip_ = nullptr;
  focus_ = nullptr;
  designed_ = false;
  // Wake a message loop that waits for the last form to go.
  if (list.empty()) PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
}

void Form::Load() {
  if (hwnd_) return;
  Register(WindowProc);
  if (!initialized_) {
    initialized_ = true;
    Form_Initialize();
  }
  DWORD style, ex;
  Styles(border_, style, ex);
  font_ = MessageFont();
  HWND owner = taskbar_ ? nullptr : HiddenOwner();
  CreateWindowExW(ex, kClass, caption_.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                  PixelsX(designW_), PixelsY(designH_), owner, nullptr, GetModuleHandleW(nullptr),
                  this);
  if (!hwnd_) return;
  List().push_back(this);
  if (icon_) Icon(icon_);
  Design();
  if (menuBar_) SetMenu(hwnd_, menuBar_);
  ApplyClientSize();
  designed_ = true;
  Form_Load();
}

void Form::ApplyClientSize() {
  RECT r{0, 0, PixelsX(designW_), PixelsY(designH_)};
  AdjustWindowRectEx(&r, GetWindowLongW(hwnd_, GWL_STYLE), menuBar_ != nullptr,
                     GetWindowLongW(hwnd_, GWL_EXSTYLE));
  SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::Show() {
  Load();
  if (!hwnd_) return;
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
  UpdateWindow(hwnd_);
}

void Form::Hide() {
  if (!hwnd_) return;
  EndModal();
  ShowWindow(hwnd_, SW_HIDE);
}

bool Form::Unload() { return UnloadWith(UnloadMode::Code); }

bool Form::UnloadWith(UnloadMode mode) {
  if (!hwnd_) return true;
  bool cancel = false;
  Form_QueryUnload(cancel, mode);
  if (cancel || !hwnd_) return !hwnd_;
  Form_Unload(cancel);
  if (cancel || !hwnd_) return !hwnd_;
  Destroy();
  return true;
}

void Form::Destroy() {
  if (!hwnd_) return;
  EndModal();
  DestroyWindow(hwnd_);  // WM_NCDESTROY forgets the window
}

void Form::EndModal() {
  if (!modal_) return;
  modal_ = false;
  // Enable the other windows before this one goes, so that activation returns to them.
  for (auto it = disabled_.rbegin(); it != disabled_.rend(); ++it)
    if (IsWindow(*it)) EnableWindow(*it, TRUE);
  disabled_.clear();
}

void Form::ShowModal(HWND owner) {
  Load();
  if (!hwnd_ || modal_) return;
  HWND oldOwner = GetWindow(hwnd_, GW_OWNER);
  if (owner) SetWindowLongPtrW(hwnd_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
  std::vector<HWND> others;
  for (Form* f : List())
    if (f != this && f->hwnd_) others.push_back(f->hwnd_);
  if (owner && std::find(others.begin(), others.end(), owner) == others.end())
    others.push_back(owner);
  for (HWND h : others)
    if (IsWindowEnabled(h)) {
      EnableWindow(h, FALSE);
      disabled_.push_back(h);
    }
  modal_ = true;
  Show();
  MSG msg;
  while (hwnd_ && IsWindowVisible(hwnd_)) {
    int r = GetMessageW(&msg, nullptr, 0, 0);
    if (r <= 0) {
      if (r == 0) PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    Dispatch(msg);
  }
  EndModal();
  if (hwnd_) SetWindowLongPtrW(hwnd_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(oldOwner));
  if (owner && IsWindow(owner) && IsWindowVisible(owner)) SetActiveWindow(owner);
}

int Form::Left() {
  Load();
  return TwipsX(WindowPixels(hwnd_).left);
}
int Form::Top() {
  Load();
  return TwipsY(WindowPixels(hwnd_).top);
}
int Form::Width() {
  Load();
  RECT r = WindowPixels(hwnd_);
  return TwipsX(r.right - r.left);
}
int Form::Height() {
  Load();
  RECT r = WindowPixels(hwnd_);
  return TwipsY(r.bottom - r.top);
}
void Form::Left(int twips) { Move(twips, Top()); }
void Form::Top(int twips) { Move(Left(), twips); }
void Form::Width(int twips) { Move(Left(), Top(), twips); }
void Form::Height(int twips) { Move(Left(), Top(), -1, twips); }

// A minimised or maximised window keeps its place, as such forms always have.
void Form::Move(int left, int top, int width, int height) {
  Load();
  if (!hwnd_ || IsIconic(hwnd_) || IsZoomed(hwnd_)) return;
  MoveTwips(hwnd_, WindowPixels(hwnd_), left, top, width, height);
}

int Form::ScaleWidth() {
  Load();
  RECT r{};
  GetClientRect(hwnd_, &r);
  return TwipsX(r.right);
}

int Form::ScaleHeight() {
  Load();
  RECT r{};
  GetClientRect(hwnd_, &r);
  return TwipsY(r.bottom);
}

void Form::Centre() {
  int w = Width(), h = Height();
  Move((Screen::Width() - w) / 2, (Screen::Height() - h) / 2);
}

std::wstring Form::Caption() const { return caption_; }

void Form::Caption(const std::wstring& text) {
  caption_ = text;
  if (hwnd_) SetWindowTextW(hwnd_, text.c_str());
}

bool Form::Enabled() const { return hwnd_ && IsWindowEnabled(hwnd_); }
void Form::Enabled(bool on) {
  if (hwnd_) EnableWindow(hwnd_, on);
}
bool Form::Visible() const { return hwnd_ && IsWindowVisible(hwnd_); }

void Form::Icon(HICON icon) {
  icon_ = icon;
  if (!hwnd_) return;
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

void Form::Refresh() { RedrawAll(hwnd_); }

void Form::SetFocus() {
  if (hwnd_) ::SetFocus(hwnd_);
}

HWND Form::ToolTip() {
  if (!tooltip_ && hwnd_) {
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                               WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, 600);
  }
  return tooltip_;
}

void Form::PopupMenu(Menu& menu) {
  if (!hwnd_) return;
  POINT p;
  GetCursorPos(&p);
  // A hidden or inactive owner must be in front, or the menu does not close on a click away.
  SetForegroundWindow(hwnd_);
  TrackPopupMenu(menu.Handle(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, p.x, p.y, 0, hwnd_, nullptr);
  PostMessageW(hwnd_, WM_NULL, 0, 0);
}

bool Form::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

LRESULT CALLBACK Form::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Form* self;
  if (msg == WM_NCCREATE) {
    self = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    SetPropW(hwnd, kProp, self);
    self->hwnd_ = hwnd;
  } else {
    self = FormOf(hwnd);
  }
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    RemovePropW(hwnd, kProp);
    self->EndModal();
    self->Forget();
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  LRESULT result = 0;
  if (Guarded([&] { result = self->Handle(msg, wp, lp); })) return result;
  return 0;
}

LRESULT Form::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  if (OnMessage(msg, wp, lp, result)) return result;
  if (Route(msg, wp, lp, result)) return result;
  switch (msg) {
    case WM_COMMAND:
      if (Command(wp, lp, result)) return result;
      break;
    case WM_TIMER: {
      auto t = timers_.find(wp);
      if (t != timers_.end()) {
        if (t->second->Tick) t->second->Tick();
        return 0;
      }
      break;
    }
    case DM_GETDEFID:
      if (default_ && default_->hWnd()) return MAKELONG(default_->Id(), DC_HASDEFID);
      return 0;
    case WM_SIZE:
      for (auto& [id, c] : controls_)
        if (auto* bar = dynamic_cast<StatusBar*>(c)) bar->Layout();
      if (designed_) Form_Resize();
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wp) == WA_INACTIVE) {
        HWND f = GetFocus();
        if (f && IsChild(hwnd_, f)) focus_ = f;
        return 0;
      }
      if (!HIWORD(wp)) {
        HWND f = focus_ && IsWindow(focus_) && IsChild(hwnd_, focus_)
                     ? focus_
                     : GetNextDlgTabItem(hwnd_, nullptr, FALSE);
        ::SetFocus(f ? f : hwnd_);
      }
      if (lastActive != this) {
        lastActive = this;
        Form_Activate();
      }
      return 0;
    case WM_SETFOCUS:
      if (focus_ && IsWindow(focus_) && IsChild(hwnd_, focus_)) ::SetFocus(focus_);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(hwnd_, &ps);
      EndPaint(hwnd_, &ps);
      if (designed_) Form_Paint();
      return 0;
    }
    case WM_CLOSE:
      UnloadWith(UnloadMode::ControlMenu);
      return 0;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

// Notifications about a child: handed to the control they concern.
bool Form::Route(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  HWND child = nullptr;
  switch (msg) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      child = reinterpret_cast<HWND>(lp);
      break;
    case WM_NOTIFY:
      child = reinterpret_cast<NMHDR*>(lp)->hwndFrom;
      break;
    case WM_DRAWITEM: {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
      if (dis->CtlType != ODT_MENU) child = dis->hwndItem;
      break;
    }
    default:
      return false;
  }
  if (!child) return false;
  auto c = controls_.find(GetDlgCtrlID(child));
  if (c == controls_.end() || c->second->hWnd() != child) return false;
  return c->second->Reflect(msg, wp, lp, result);
}

// Commands without a window: menus, and Enter/Esc from the dialog keyboard handling.
bool Form::Command(WPARAM wp, LPARAM lp, LRESULT& result) {
  if (lp) return false;
  int id = LOWORD(wp);
  if (auto m = menus_.find(id); m != menus_.end()) {
    if (m->second->Click) m->second->Click();
    return true;
  }
  if (id == IDCANCEL) {
    if (cancel_ && cancel_->Enabled() && cancel_->Visible()) cancel_->PerformClick();
    return true;
  }
  if (id == IDOK) return true;
  // The default button inside a frame: not found by GetDlgItem, so no window came along.
  auto c = controls_.find(id);
  if (c == controls_.end()) return false;
  return c->second->Reflect(WM_COMMAND, wp, reinterpret_cast<LPARAM>(c->second->hWnd()), result);
}

void Dispatch(MSG& msg) {
  HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  if (Form* form = FormOf(root)) {
    // Enter on a focused button clicks that button, not the default one.
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN) {
      HWND focus = GetFocus();
      auto c = form->controls_.find(GetDlgCtrlID(focus));
      if (focus && c != form->controls_.end() && c->second->hWnd() == focus)
        if (auto* button = dynamic_cast<CommandButton*>(c->second)) {
          button->PerformClick();
          return;
        }
    }
    if (IsDialogMessageW(root, &msg)) return;
  }
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

int Run() {
  MSG msg;
  while (!List().empty()) {
    int r = GetMessageW(&msg, nullptr, 0, 0);
    if (r <= 0) return r == 0 ? static_cast<int>(msg.wParam) : 0;
    Dispatch(msg);
  }
  return 0;
}

}  // namespace forms
