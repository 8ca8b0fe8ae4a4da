// The button's About panel: a hidden child picture that About() turns into a top-level
// window of its own; a click anywhere on it hides it again.
#pragma once
#include <windows.h>

namespace sorvbutton {

class AboutPanel {
 public:
  AboutPanel() = default;
  ~AboutPanel();
  AboutPanel(const AboutPanel&) = delete;
  AboutPanel& operator=(const AboutPanel&) = delete;

  bool Create(HWND owner);
  HWND Window() const { return hwnd_; }
  // The window style recorded when a control is newly placed; 0 for a loaded control.
  void RecordStyle() { savedStyle_ = hwnd_ ? LONG(GetWindowLongPtrW(hwnd_, GWL_STYLE)) : 0; }
  void Show(const wchar_t* version);
  void Destroy();

 private:
  static LRESULT CALLBACK WndProc(HWND w, UINT m, WPARAM wp, LPARAM lp);
  void Paint(HDC dc);
  void PaintClose(HDC dc, bool pressed);

  HWND hwnd_ = nullptr;
  LONG savedStyle_ = 0;
  bool pressed_ = false;
  const wchar_t* version_ = L"";
};

}  // namespace sorvbutton
