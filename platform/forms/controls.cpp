#include "controls.h"

#include <commctrl.h>

#include "form.h"
#include "twips.h"

namespace forms {
namespace {

DWORD StaticAlign(Align a) {
  return a == Align::Right ? SS_RIGHT : a == Align::Center ? SS_CENTER : SS_LEFT;
}

}  // namespace

// Label

void Label::Create(Form& form, Control* container, const std::wstring& caption, int left, int top,
                   int width, int height, Align align) {
  // SS_NOTIFY: the label sees the mouse (clicks, tooltips); SS_NOPREFIX: "&" shows as is.
  CreateWin(form, container, L"STATIC", caption, StaticAlign(align) | SS_NOTIFY | SS_NOPREFIX, 0,
            left, top, width, height);
}

bool Label::Reflect(UINT msg, WPARAM wp, LPARAM, LRESULT&) {
  if (msg == WM_COMMAND && HIWORD(wp) == STN_CLICKED && Click) Click();
  return false;
}

// TextBox

void TextBox::Create(Form& form, Control* container, const std::wstring& text, int left, int top,
                     int width, int height, bool multiLine) {
  DWORD style = WS_TABSTOP | ES_AUTOHSCROLL;
  if (multiLine) style = WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL;
  CreateWin(form, container, L"EDIT", text, style, WS_EX_CLIENTEDGE, left, top, width, height);
}

void TextBox::PasswordChar(wchar_t c) {
  Send(EM_SETPASSWORDCHAR, c);
  Refresh();
}

void TextBox::MaxLength(int chars) { Send(EM_SETLIMITTEXT, chars); }
void TextBox::Locked(bool on) { Send(EM_SETREADONLY, on); }

int TextBox::SelStart() const {
  DWORD start = 0, end = 0;
  Send(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(start);
}

int TextBox::SelLength() const {
  DWORD start = 0, end = 0;
  Send(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(end - start);
}

void TextBox::SelStart(int pos) { Send(EM_SETSEL, pos, pos); }
void TextBox::SelLength(int length) {
  int s = SelStart();
  Send(EM_SETSEL, s, s + length);
}
void TextBox::SelectAll() { Send(EM_SETSEL, 0, -1); }

bool TextBox::Reflect(UINT msg, WPARAM wp, LPARAM, LRESULT&) {
  if (msg == WM_COMMAND && HIWORD(wp) == EN_CHANGE && Change) Change();
  return false;
}

bool TextBox::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == WM_CHAR && KeyPress) {
    int key = static_cast<int>(wp);
    KeyPress(key);
    if (key == 0) return true;  // dropped
    if (key != static_cast<int>(wp)) {
      result = DefSubclassProc(hWnd(), msg, key, lp);
      return true;
    }
  }
  return Control::OnMessage(msg, wp, lp, result);
}

// CommandButton

void CommandButton::Create(Form& form, Control* container, const std::wstring& caption, int left,
                           int top, int width, int height) {
  CreateWin(form, container, L"BUTTON", caption, WS_TABSTOP | BS_PUSHBUTTON, 0, left, top, width,
            height);
}

void CommandButton::Default(bool on) {
  if (!Parent()) return;
  if (on) {
    if (auto* old = Parent()->DefaultButton(); old && old != this) old->Default(false);
    Parent()->DefaultButton(this);
  } else if (Parent()->DefaultButton() == this) {
    Parent()->DefaultButton(nullptr);
  }
  Send(BM_SETSTYLE, on ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void CommandButton::Cancel(bool on) {
  if (!Parent()) return;
  if (on)
    Parent()->CancelButton(this);
  else if (Parent()->CancelButton() == this)
    Parent()->CancelButton(nullptr);
}

void CommandButton::PerformClick() {
  if (Enabled() && Click) Click();
}

bool CommandButton::Reflect(UINT msg, WPARAM wp, LPARAM, LRESULT&) {
  if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) {
    PerformClick();
    return true;
  }
  return false;
}

// CheckBox

void CheckBox::Create(Form& form, Control* container, const std::wstring& caption, int left,
                      int top, int width, int height) {
  CreateWin(form, container, L"BUTTON", caption, WS_TABSTOP | BS_AUTOCHECKBOX, 0, left, top, width,
            height);
}

int CheckBox::Value() const {
  LRESULT s = Send(BM_GETCHECK);
  return s == BST_CHECKED ? 1 : s == BST_INDETERMINATE ? 2 : 0;
}

void CheckBox::Value(int value) {
  if (value == Value()) return;
  Send(BM_SETCHECK, value == 1 ? BST_CHECKED : value == 2 ? BST_INDETERMINATE : BST_UNCHECKED);
  if (Click) Click();
}

bool CheckBox::Reflect(UINT msg, WPARAM wp, LPARAM, LRESULT&) {
  if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) {
    if (Click) Click();
    return true;
  }
  return false;
}

// Frame

void Frame::Create(Form& form, Control* container, const std::wstring& caption, int left, int top,
                   int width, int height) {
  CreateWin(form, container, L"BUTTON", caption, BS_GROUPBOX, WS_EX_CONTROLPARENT, left, top, width,
            height);
}

// A group box does not pass its children's notifications on: send them to the form.
bool Frame::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      if (Parent() && Parent()->hWnd()) {
        result = SendMessageW(Parent()->hWnd(), msg, wp, lp);
        return true;
      }
      break;
  }
  return Control::OnMessage(msg, wp, lp, result);
}

// ComboBox

void ComboBox::Create(Form& form, Control* container, int left, int top, int width, int height,
                      Style style, bool sorted) {
  DWORD s = WS_TABSTOP | WS_VSCROLL |
            (style == DropDownList ? CBS_DROPDOWNLIST : CBS_DROPDOWN | CBS_AUTOHSCROLL) |
            (sorted ? CBS_SORT : 0);
  // The window's height includes the dropped list.
  CreateWin(form, container, L"COMBOBOX", L"", s, 0, left, top, width, height + 3000);
}

void ComboBox::AddItem(const std::wstring& text) {
  Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void ComboBox::RemoveItem(int index) { Send(CB_DELETESTRING, index); }
void ComboBox::Clear() { Send(CB_RESETCONTENT); }
int ComboBox::ListCount() const { return static_cast<int>(Send(CB_GETCOUNT)); }

std::wstring ComboBox::List(int index) const {
  LRESULT n = Send(CB_GETLBTEXTLEN, index);
  if (n == CB_ERR) return {};
  std::wstring s(n + 1, L'\0');
  s.resize(Send(CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(s.data())));
  return s;
}

int ComboBox::ListIndex() const { return static_cast<int>(Send(CB_GETCURSEL)); }

void ComboBox::ListIndex(int index) {
  if (index == ListIndex()) return;
  Send(CB_SETCURSEL, index);
  if (Click) Click();  // a choice made by the program counts as one made by the user
}

bool ComboBox::Reflect(UINT msg, WPARAM wp, LPARAM, LRESULT&) {
  if (msg != WM_COMMAND) return false;
  if (HIWORD(wp) == CBN_SELCHANGE && Click) Click();
  if (HIWORD(wp) == CBN_EDITCHANGE && Change) Change();
  return false;
}

// ProgressBar

void ProgressBar::Create(Form& form, Control* container, int left, int top, int width, int height) {
  CreateWin(form, container, PROGRESS_CLASSW, L"", 0, 0, left, top, width, height);
}

void ProgressBar::Min(int v) { Send(PBM_SETRANGE32, v, Send(PBM_GETRANGE, FALSE)); }
void ProgressBar::Max(int v) { Send(PBM_SETRANGE32, Send(PBM_GETRANGE, TRUE), v); }
int ProgressBar::Value() const { return static_cast<int>(Send(PBM_GETPOS)); }
void ProgressBar::Value(int v) { Send(PBM_SETPOS, v); }

// Slider

void Slider::Create(Form& form, Control* container, int left, int top, int width, int height) {
  CreateWin(form, container, TRACKBAR_CLASSW, L"", WS_TABSTOP | TBS_HORZ | TBS_AUTOTICKS, 0, left,
            top, width, height);
  Max(10);
}

int Slider::Min() const { return static_cast<int>(Send(TBM_GETRANGEMIN)); }
int Slider::Max() const { return static_cast<int>(Send(TBM_GETRANGEMAX)); }
void Slider::Min(int v) { Send(TBM_SETRANGEMIN, TRUE, v); }
void Slider::Max(int v) { Send(TBM_SETRANGEMAX, TRUE, v); }
void Slider::SmallChange(int v) { Send(TBM_SETLINESIZE, 0, v); }
void Slider::LargeChange(int v) { Send(TBM_SETPAGESIZE, 0, v); }
void Slider::TickFrequency(int v) { Send(TBM_SETTICFREQ, v); }
int Slider::Value() const { return static_cast<int>(Send(TBM_GETPOS)); }
void Slider::Value(int v) { Send(TBM_SETPOS, TRUE, v); }

bool Slider::Reflect(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
  if (msg != WM_HSCROLL && msg != WM_VSCROLL) return false;
  if (LOWORD(wp) != TB_ENDTRACK && Scroll) Scroll();
  result = 0;
  return true;
}

// SpinButton

void SpinButton::Create(Form& form, Control* container, int left, int top, int width, int height) {
  CreateWin(form, container, UPDOWN_CLASSW, L"", 0, 0, left, top, width, height);
  Send(UDM_SETRANGE32, 0, 100);
  Send(UDM_SETPOS32, 0, 50);
}

// The position never moves, so the arrows work at any count of clicks.
bool SpinButton::Reflect(UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
  if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lp)->code == UDN_DELTAPOS) {
    int delta = reinterpret_cast<NMUPDOWN*>(lp)->iDelta;
    if (delta > 0 && SpinUp) SpinUp();
    if (delta < 0 && SpinDown) SpinDown();
    result = TRUE;
    return true;
  }
  if (msg == WM_VSCROLL || msg == WM_HSCROLL) {
    result = 0;
    return true;
  }
  return false;
}

// Image

void Image::Create(Form& form, Control* container, int left, int top, int width, int height) {
  CreateWin(form, container, L"STATIC", L"", SS_ICON | SS_CENTERIMAGE | SS_NOTIFY, 0, left, top,
            width, height);
}

void Image::Picture(HICON icon) {
  SetWindowLongPtrW(hWnd(), GWL_STYLE,
                    (GetWindowLongPtrW(hWnd(), GWL_STYLE) & ~SS_TYPEMASK) | SS_ICON);
  Send(STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
}

void Image::Picture(HBITMAP bitmap) {
  SetWindowLongPtrW(hWnd(), GWL_STYLE,
                    (GetWindowLongPtrW(hWnd(), GWL_STYLE) & ~SS_TYPEMASK) | SS_BITMAP);
  Send(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
}

}  // namespace forms
