// The stored state of one button: its 26 properties and what painting keeps between calls.
#pragma once
#include <windows.h>

#include <string>

#include "colours.h"

namespace sorvbutton {

struct ButtonProps {
  int Style = 0;
  std::wstring Caption;
  HICON Icon = nullptr;  // owned by whoever supplied it
  int IconAlign = 0;
  int IconSize = 16;
  int CaptionAlign = 0;
  int NonThemeStyle = 0;
  bool Enabled = true;
  bool ShowFocus = false;
  bool UseCustomColors = false;
  Colour BackColor = 0;
  Colour HighlightColor = 0;
  Colour FontColor = 0;
  Colour FontHighlightColor = 0;
  std::wstring ToolTipText;
  std::wstring ToolTipTitle;
  int ToolTipIcon = 0;
  int ToolTipType = 1;
  Colour ToolTipBackColor = 0;
  Colour ToolTipForeColor = 0;
  int ButtonType = 0;
  bool Value = false;
  Colour MaskColor = 0;
  bool UseMaskColor = false;
};

enum : int { StateNormal = 1, StateHot = 2, StatePressed = 3, StateDisabled = 4 };

struct PaintState {
  int ButtonState = StateNormal;
  bool IsShown = false;
  bool HasFocus = false;
  RECT ClientRect{};
  RECT InnerRect{};
  UINT CaptionFormat = DT_WORDBREAK | DT_CENTER;
};

// What the hosting form answers when the control asks.
struct Ambient {
  bool UserMode = true;
  bool DisplayAsDefault = false;
};

}  // namespace sorvbutton
