// SorvButton: the owner-drawn push button of the management program's main window.
// A child window that paints itself in one of eleven styles, keeps 26 properties that a
// form saves in a property bag, and raises Click, MouseEnter and MouseLeave to its form.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>

#include "about.h"
#include "control.h"
#include "form.h"
#include "bag.h"
#include "canvas.h"
#include "props.h"
#include "subclass.h"

namespace sorvbutton {

// What the hosting form gives the control: its ambient properties and the instance's name.
// (The tooltip text the form keeps for the control is the forms::Control one.)
struct ButtonContainer {
  bool UserMode = true;
  bool DisplayAsDefault = false;
  std::wstring Name;
  std::function<void(const char* property)> PropertyChanged;
};

class SorvButton : public forms::Control, public SubclassClient {
 public:
  SorvButton();
  ~SorvButton() override;
  SorvButton(const SorvButton&) = delete;
  SorvButton& operator=(const SorvButton&) = delete;

  // Makes the child window on a form; position and size in twips, as every control.
  bool Create(forms::Form& form, int left, int top, int width, int height,
              forms::Control* container = nullptr);
  // The same inside any window; position and size in pixels of the parent's client area.
  bool Create(HWND parent, int x, int y, int width, int height, int id = 0, bool visible = true);
  HWND Window() const { return hwnd_; }

  // The tooltip text the form keeps for this control (set aside while our own tip shows).
  std::wstring ContainerToolTipText() const { return forms::Control::ToolTipText(); }
  void ContainerToolTipText(const std::wstring& text) { forms::Control::ToolTipText(text); }

  ButtonContainer container;
  std::function<void()> Click, MouseEnter, MouseLeave;  // events to the form

  // Lifecycle: a new control, a saved one loaded, saving it.
  void InitProperties();
  void ReadProperties(const PropertyBag& bag);
  void WriteProperties(PropertyBag& bag) const;

  void Refresh();
  void About();
  std::wstring Version() const { return L"3.4.0"; }
  INT_PTR OpenLink(const std::wstring& link);
  bool PaintIconGrayscale(HDC dc, HICON icon, int x, int y, int height, int width);
  long zSubclass_Proc(bool bBefore, bool& bHandled, LRESULT& lReturn, HWND lng_hWnd, UINT uMsg,
                      WPARAM wParam, LPARAM lParam) override;

  // Properties.
  int Style() const { return p_.Style; }
  void Style(int v);
  const std::wstring& Caption() const { return p_.Caption; }
  void Caption(const std::wstring& v);
  HICON Icon() const { return p_.Icon; }
  void Icon(HICON v);
  int IconAlign() const { return p_.IconAlign; }
  void IconAlign(int v);
  int IconSize() const { return p_.IconSize; }
  void IconSize(int v);
  int CaptionAlign() const { return p_.CaptionAlign; }
  void CaptionAlign(int v);
  int NonThemeStyle() const { return p_.NonThemeStyle; }
  void NonThemeStyle(int v);
  bool Enabled() const { return p_.Enabled; }
  void Enabled(bool v);
  bool ShowFocus() const { return p_.ShowFocus; }
  void ShowFocus(bool v);
  bool UseCustomColors() const { return p_.UseCustomColors; }
  void UseCustomColors(bool v);
  Colour BackColor() const { return p_.BackColor; }
  void BackColor(Colour v);
  Colour HighlightColor() const { return p_.HighlightColor; }
  void HighlightColor(Colour v);
  Colour FontColor() const { return p_.FontColor; }
  void FontColor(Colour v);
  Colour FontHighlightColor() const { return p_.FontHighlightColor; }
  void FontHighlightColor(Colour v);
  const std::wstring& ToolTipText() const { return p_.ToolTipText; }
  void ToolTipText(const std::wstring& v);
  const std::wstring& ToolTipTitle() const { return p_.ToolTipTitle; }
  void ToolTipTitle(const std::wstring& v);
  int ToolTipIcon() const { return p_.ToolTipIcon; }
  void ToolTipIcon(int v);
  int ToolTipType() const { return p_.ToolTipType; }
  void ToolTipType(int v);
  Colour ToolTipBackColor() const { return p_.ToolTipBackColor; }
  void ToolTipBackColor(Colour v);
  Colour ToolTipForeColor() const { return p_.ToolTipForeColor; }
  void ToolTipForeColor(Colour v);
  LOGFONTW Font() const { return font_; }
  void Font(const LOGFONTW& v);
  int ButtonType() const { return p_.ButtonType; }
  void ButtonType(int v);
  int MousePointer() const { return mousePointer_; }
  void MousePointer(int v);
  bool Value() const { return p_.Value; }
  void Value(bool v);
  Colour MaskColor() const { return p_.MaskColor; }
  void MaskColor(Colour v);
  bool UseMaskColor() const { return p_.UseMaskColor; }
  void UseMaskColor(bool v);

  // Handlers of what the host window receives (driven by the window procedure).
  void UserControl_MouseDown(int button);
  void UserControl_MouseUp(int button);
  void UserControl_Click();
  void UserControl_DblClick();
  void UserControl_KeyDown(int keyCode);
  void UserControl_KeyPress(int keyAscii);
  void UserControl_KeyUp(int keyCode);
  void UserControl_AccessKeyPress();
  void UserControl_GotFocus();
  void UserControl_LostFocus();
  void UserControl_AmbientChanged(const std::wstring& name);
  void UserControl_Show();
  void UserControl_Hide();
  void UserControl_Resize();

  // The caption's access key (the character after a single '&'), 0 when none.
  wchar_t AccessKey() const;

  // State as painting sees it, and the painted surface (for the form and for checks).
  int ButtonState() const { return st_.ButtonState; }
  bool HasFocus() const { return st_.HasFocus; }
  bool IsOver() const { return isOver_; }
  UINT CaptionFormat() const { return st_.CaptionFormat; }
  HDC SurfaceDC() const { return surface_.dc; }
  COLORREF Pixel(int x, int y) const { return GetPixel(surface_.dc, x, y); }
  HWND TipWindow() const { return tipWindow_; }
  HWND AboutWindow() const { return about_.Window(); }
  bool IsSubclassed() const { return subclass_.IsHooked(hwnd_); }
  int RefreshCount() const { return refreshCount_; }

  // The window procedure of the class (public for the class registration only).
  static LRESULT CALLBACK WndProc(HWND w, UINT m, WPARAM wp, LPARAM lp);

 private:
  LRESULT Handle(UINT m, WPARAM wp, LPARAM lp);
  void Changed(const char* property);
  void Setup(HWND parent);
  void SyncWindowText();
  void LayoutAndPaint(const char* property);
  void RefreshChanged(const char* property);
  void ResizeSurface(int w, int h);
  void ApplyButtonRegion();
  void ApplyFont();
  void Raise(const std::function<void()>& event);
  void Press();
  void ClickOnce();
  // Hover and tooltip.
  static bool IsFunctionExported(const char* function, const char* module);
  void StartTracking();
  void RequestMouseLeave(HWND window);
  void ShowTooltip();
  void RemoveTooltip();

  HWND hwnd_ = nullptr;
  ButtonProps p_;
  PaintState st_;
  Canvas surface_;
  HBITMAP surfaceBitmap_ = nullptr;
  HGDIOBJ surfaceOld_ = nullptr;
  LOGFONTW font_{};
  HFONT hfont_ = nullptr;
  int mousePointer_ = 0;
  int lastButton_ = 0;
  int downButton_ = 0;
  bool afterDblClick_ = false;
  int refreshCount_ = 0;
  // Hover.
  Subclasser subclass_{*this};
  bool trackingAvailable_ = false;
  bool useUser32Tracking_ = false;
  bool isOver_ = false;
  std::wstring tipText_;
  bool tipHeld_ = false;  // the container's text is in tipText_
  HWND tipWindow_ = nullptr;
  TTTOOLINFOW tipInfo_{};
  AboutPanel about_;
};

}  // namespace sorvbutton
