// Control: the base of every child window on a form.
//
// A control is a member of its form and holds the HWND of its child window; the window is
// made by the control's Create() (normally in the form's Design()) and goes with the form.
// Geometry is in twips relative to the container (the form's client area or a Frame).
//
// Outside controls derive from Control: they make their window with CreateWin() (any
// registered class) or adopt one with Attach(), then override Reflect() for the
// notifications their parent receives about them (WM_COMMAND, WM_NOTIFY, WM_DRAWITEM,
// WM_CTLCOLOR*, WM_HSCROLL/WM_VSCROLL) and OnMessage() for the messages to their own window.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace forms {

class Form;

enum class Align { Left, Right, Center };

class Control {
 public:
  Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control();

  HWND hWnd() const { return hwnd_; }
  Form* Parent() const { return form_; }
  int Id() const { return id_; }

  bool Enabled() const;
  void Enabled(bool on);
  bool Visible() const;
  void Visible(bool on);

  int Left() const;
  int Top() const;
  int Width() const;
  int Height() const;
  void Left(int twips);
  void Top(int twips);
  void Width(int twips);
  void Height(int twips);
  // Negative width or height keeps the current one.
  void Move(int left, int top, int width = -1, int height = -1);

  void Refresh();
  void SetFocus();

  std::wstring Caption() const;
  void Caption(const std::wstring& text);
  std::wstring Text() const { return Caption(); }
  void Text(const std::wstring& text) { Caption(text); }

  HFONT Font() const { return reinterpret_cast<HFONT>(Send(WM_GETFONT)); }
  void Font(HFONT font) { Send(WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE); }

  void ToolTipText(const std::wstring& text);
  std::wstring ToolTipText() const { return tip_; }

  std::wstring Tag;

  // Events common to all controls. Button: 1 left, 2 right, 4 middle; shift: 1 Shift,
  // 2 Ctrl; x, y in twips in the control.
  std::function<void()> GotFocus;
  std::function<void()> LostFocus;
  std::function<void(int button, int shift, int x, int y)> MouseDown;
  std::function<void(int button, int shift, int x, int y)> MouseUp;

  LRESULT Send(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const;

 protected:
  // Makes the child window (WS_CHILD and WS_VISIBLE are added) inside `container`
  // (nullptr: the form) and registers it with the form. Geometry in twips.
  HWND CreateWin(Form& form, Control* container, const wchar_t* windowClass,
                 const std::wstring& text, DWORD style, DWORD exStyle, int left, int top, int width,
                 int height);
  // Adopts a child window of the form made elsewhere (it keeps its own font).
  void Attach(Form& form, HWND hwnd);

  // A message the parent received about this control; true when handled (result set).
  virtual bool Reflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  // A message to the control's own window; true when handled (result set), else the
  // window's own procedure runs. The base raises the focus and mouse events.
  virtual bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

 private:
  friend class Form;
  static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  void Detach();

  HWND hwnd_ = nullptr;
  Form* form_ = nullptr;
  int id_ = 0;
  std::wstring tip_;
};

// Shared by the mouse events: modifier bits of a mouse message.
int ShiftState();

}  // namespace forms
