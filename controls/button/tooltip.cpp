// The tooltip of one hover: made on entry, removed on leave. While it shows, the
// container's own tooltip text is set aside so that the form shows no second tip.
#include "button.h"
#include "primitives.h"

namespace sorvbutton {

void SorvButton::ShowTooltip() {
  tipText_ = ContainerToolTipText();
  ContainerToolTipText(L"");
  tipHeld_ = true;
  DWORD style = TTS_ALWAYSTIP | TTS_NOPREFIX | (p_.ToolTipType == 1 ? TTS_BALLOON : 0);
  tipWindow_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, style, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  if (!tipWindow_) return;
  SetWindowPos(tipWindow_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
  tipInfo_ = TTTOOLINFOW{};
  tipInfo_.cbSize = sizeof tipInfo_;
  tipInfo_.uFlags = TTF_SUBCLASS;
  tipInfo_.hwnd = hwnd_;
  tipInfo_.uId = 0;
  GetClientRect(hwnd_, &tipInfo_.rect);
  tipInfo_.hinst = GetModuleHandleW(nullptr);
  tipInfo_.lpszText = const_cast<wchar_t*>(tipText_.c_str());
  SendMessageW(tipWindow_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tipInfo_));
  if (!p_.ToolTipTitle.empty() || p_.ToolTipIcon != 0)
    SendMessageW(tipWindow_, TTM_SETTITLEW, WPARAM(p_.ToolTipIcon),
                 reinterpret_cast<LPARAM>(p_.ToolTipTitle.c_str()));
  // Colour 0 means the system's tooltip colours: it is never sent.
  if (p_.ToolTipForeColor != 0)
    SendMessageW(tipWindow_, TTM_SETTIPTEXTCOLOR, WPARAM(TranslateColor(p_.ToolTipForeColor)), 0);
  if (p_.ToolTipBackColor != 0)
    SendMessageW(tipWindow_, TTM_SETTIPBKCOLOR, WPARAM(TranslateColor(p_.ToolTipBackColor)), 0);
}

void SorvButton::RemoveTooltip() {
  if (tipHeld_) ContainerToolTipText(tipText_);
  tipHeld_ = false;
  if (!tipWindow_) return;
  SendMessageW(tipWindow_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tipInfo_));
  DestroyWindow(tipWindow_);
  tipWindow_ = nullptr;
}

}  // namespace sorvbutton
