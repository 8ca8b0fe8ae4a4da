// Mouse, keyboard, focus and host notifications: each sets the drawing state and repaints.
#include "button.h"
#include "painters.h"
#include "render.h"

namespace sorvbutton {

void SorvButton::Press() {
  st_.ButtonState = StatePressed;
  Refresh();
}

// One completed click, whatever brought it (mouse, Space, access key).
void SorvButton::ClickOnce() {
  if (p_.ButtonType == 1) p_.Value = !p_.Value;
  st_.ButtonState = StateHot;
  Refresh();
  Raise(Click);
}

void SorvButton::UserControl_MouseDown(int button) {
  if (button == 1) Press();
}

void SorvButton::UserControl_MouseUp(int button) {
  if (button == 1) {
    bool heldDown = p_.ButtonType == 1 && !p_.Value;
    st_.ButtonState = heldDown ? StatePressed : StateHot;
    Refresh();
  }
  lastButton_ = button;
}

void SorvButton::UserControl_Click() {
  if (lastButton_ == 1) ClickOnce();
}

void SorvButton::UserControl_DblClick() {
  if (lastButton_ == 1) UserControl_MouseDown(1);
}

void SorvButton::UserControl_KeyDown(int keyCode) {
  if (keyCode == VK_SPACE) {
    UserControl_MouseDown(1);
  } else if (keyCode == VK_RIGHT || keyCode == VK_LEFT) {
    // As Tab / Shift+Tab would: the next or previous tab stop of the whole window, also when
    // the button sits in a frame (a frame's own tab stops would cycle inside it).
    HWND root = hwnd_ ? GetAncestor(hwnd_, GA_ROOT) : nullptr;
    if (HWND next = root ? GetNextDlgTabItem(root, hwnd_, keyCode == VK_LEFT) : nullptr)
      ::SetFocus(next);
  }
}

void SorvButton::UserControl_KeyPress(int keyAscii) {
  // Space clicks even before any mouse click; Enter and other characters do nothing.
  if (keyAscii == ' ') ClickOnce();
}

void SorvButton::UserControl_KeyUp(int keyCode) {
  if (keyCode == VK_SPACE) UserControl_MouseUp(1);
}

void SorvButton::UserControl_AccessKeyPress() {
  ClickOnce();
  st_.ButtonState = StateNormal;
}

void SorvButton::UserControl_GotFocus() {
  st_.HasFocus = true;
  Refresh();
}

void SorvButton::UserControl_LostFocus() {
  st_.HasFocus = false;
  Refresh();
}

void SorvButton::UserControl_AmbientChanged(const std::wstring& name) {
  if (name == L"DisplayAsDefault") Refresh();
}

void SorvButton::UserControl_Show() {
  st_.IsShown = true;
  Refresh();
}

void SorvButton::UserControl_Hide() {
  st_.IsShown = false;
  ContainerToolTipText(p_.ToolTipText);
}

void SorvButton::UserControl_Resize() {
  if (!hwnd_) return;
  RECT rc;
  GetClientRect(hwnd_, &rc);
  // 300 twips at the least each way.
  HDC screen = GetDC(nullptr);
  int minX = MulDiv(300, GetDeviceCaps(screen, LOGPIXELSX), 1440);
  int minY = MulDiv(300, GetDeviceCaps(screen, LOGPIXELSY), 1440);
  ReleaseDC(nullptr, screen);
  if (rc.right < minX || rc.bottom < minY) {
    SetWindowPos(hwnd_, nullptr, 0, 0, rc.right < minX ? minX : rc.right,
                 rc.bottom < minY ? minY : rc.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    GetClientRect(hwnd_, &rc);
  }
  if (rc.right != surface_.W || rc.bottom != surface_.H || !surface_.dc)
    ResizeSurface(rc.right, rc.bottom);
  st_.ClientRect = RECT{0, 0, rc.right, rc.bottom};
  st_.InnerRect = RECT{4, 4, rc.right - 4, rc.bottom - 4};
  st_.CaptionFormat = CaptionFormatFor(p_.CaptionAlign, st_.CaptionFormat);
  ApplyButtonRegion();
  Refresh();
}

wchar_t SorvButton::AccessKey() const {
  const std::wstring& c = p_.Caption;
  for (size_t i = 0; i + 1 < c.size(); ++i) {
    if (c[i] != L'&') continue;
    if (c[i + 1] == L'&') {
      ++i;
      continue;
    }
    return c[i + 1];
  }
  return 0;
}

}  // namespace sorvbutton
