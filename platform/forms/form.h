// Form: a top-level window with its controls as members.
#pragma once
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "control.h"

namespace forms {

class CommandButton;
class Menu;
class Timer;

enum class BorderStyle { None, FixedSingle, Sizable, FixedDialog };

// Why a form is being unloaded (Form_QueryUnload).
enum class UnloadMode { ControlMenu = 0, Code = 1, AppWindows = 2 };

class Form {
 public:
  Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;
  virtual ~Form();

  HWND hWnd() const { return hwnd_; }
  bool IsLoaded() const { return hwnd_ != nullptr; }

  // Makes the window (hidden), runs Form_Initialize once per object, Design and Form_Load.
  void Load();
  void Show();
  void Hide();
  // Form_QueryUnload and Form_Unload may cancel; then false and the form stays.
  bool Unload();
  // Shows the form with `owner` (may be null) and the program's other forms disabled;
  // returns when the form is hidden or unloaded.
  void ShowModal(HWND owner);
  void ShowModal(Form& owner) { ShowModal(owner.hWnd()); }

  // Window geometry in twips (the outer rectangle, on the screen). Loads the form.
  int Left();
  int Top();
  int Width();
  int Height();
  void Left(int twips);
  void Top(int twips);
  void Width(int twips);
  void Height(int twips);
  // Does nothing while the window is minimised or maximised.
  void Move(int left, int top, int width = -1, int height = -1);
  // Client area in twips.
  int ScaleWidth();
  int ScaleHeight();
  // Left = (Screen.Width - Width) \ 2, Top likewise.
  void Centre();

  std::wstring Caption() const;
  void Caption(const std::wstring& text);
  bool Enabled() const;
  void Enabled(bool on);
  bool Visible() const;
  void Icon(HICON icon);
  void Refresh();
  void SetFocus();
  HFONT Font() const { return font_; }

  // Enter clicks the default button, Esc the cancel button (when enabled).
  void DefaultButton(CommandButton* button) { default_ = button; }
  void CancelButton(CommandButton* button) { cancel_ = button; }
  CommandButton* DefaultButton() const { return default_; }
  CommandButton* CancelButton() const { return cancel_; }

  // Shows a menu made with Menu::CreatePopup at the mouse position.
  void PopupMenu(Menu& menu);

 protected:
  // Design-time properties: set in the derived constructor, before the window exists.
  void ClientSize(int widthTwips, int heightTwips) {
    designW_ = widthTwips;
    designH_ = heightTwips;
  }
  void Border(BorderStyle style) { border_ = style; }
  void ShowInTaskbar(bool on) { taskbar_ = on; }

  // Makes the controls (Create of each member); runs at every load, before Form_Load.
  virtual void Design() {}
  virtual void Form_Initialize() {}
  virtual void Form_Load() {}
  virtual void Form_Activate() {}
  virtual void Form_Resize() {}
  virtual void Form_Paint() {}
  virtual void Form_QueryUnload(bool& cancel, UnloadMode mode) {
    (void)cancel;
    (void)mode;
  }
  virtual void Form_Unload(bool& cancel) { (void)cancel; }
  // Any other message to the form's window; true when handled (result set).
  virtual bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

 private:
  friend class Control;
  friend class Menu;
  friend class Timer;
  friend void Dispatch(MSG& msg);

  static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
  bool Route(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  bool Command(WPARAM wp, LPARAM lp, LRESULT& result);
  bool UnloadWith(UnloadMode mode);
  void Destroy();
  void EndModal();
  void Forget();
  int NextId() { return nextId_++; }
  HWND ToolTip();
  void ApplyClientSize();

  HWND hwnd_ = nullptr;
  HFONT font_ = nullptr;
  HWND tooltip_ = nullptr;
  HMENU menuBar_ = nullptr;
  std::wstring caption_;
  int designW_ = 4800, designH_ = 3600;
  BorderStyle border_ = BorderStyle::Sizable;
  bool taskbar_ = true;
  bool initialized_ = false;
  bool designed_ = false;
  bool modal_ = false;
  HICON icon_ = nullptr;
  HWND focus_ = nullptr;
  std::vector<HWND> disabled_;
  int nextId_ = 100;
  CommandButton* default_ = nullptr;
  CommandButton* cancel_ = nullptr;
  std::map<int, Control*> controls_;
  std::map<int, Menu*> menus_;
  std::map<UINT_PTR, Timer*> timers_;
};

// The program's loaded forms, in the order they were loaded.
const std::vector<Form*>& Forms();

// Hands one message to its window, with the forms' keyboard handling (Tab, Enter, Esc).
void Dispatch(MSG& msg);

// The program's message loop: returns when no form is loaded any more.
int Run();

}  // namespace forms
