// The 26 properties: their side effects, and saving and loading them in a property bag.
#include "button.h"
#include "primitives.h"

namespace sorvbutton {

namespace {
Colour SysRGB(int index) { return TranslateColor(SysColourRef(index)); }
std::int32_t L(Colour c) { return std::int32_t(c); }
}  // namespace

void SorvButton::Changed(const char* property) {
  if (container.PropertyChanged) container.PropertyChanged(property);
}

// Properties that move icon or caption: the resize handling, which ends in a repaint.
void SorvButton::LayoutAndPaint(const char* property) {
  Changed(property);
  UserControl_Resize();
}

void SorvButton::RefreshChanged(const char* property) {
  Changed(property);
  Refresh();
}

void SorvButton::Style(int v) {
  p_.Style = v;
  LayoutAndPaint("Style");
}
void SorvButton::Caption(const std::wstring& v) {
  p_.Caption = v;
  SyncWindowText();
  LayoutAndPaint("Caption");
}

// The window text follows the caption: the dialog manager finds access keys there, and
// other programs find the button by it.
void SorvButton::SyncWindowText() {
  if (hwnd_) SetWindowTextW(hwnd_, p_.Caption.c_str());
}
void SorvButton::Icon(HICON v) {
  p_.Icon = v;
  LayoutAndPaint("Icon");
}
void SorvButton::IconAlign(int v) {
  p_.IconAlign = v;
  LayoutAndPaint("IconAlign");
}
void SorvButton::IconSize(int v) {
  p_.IconSize = v;
  LayoutAndPaint("IconSize");
}
void SorvButton::CaptionAlign(int v) {
  p_.CaptionAlign = v;
  LayoutAndPaint("CaptionAlign");
}
void SorvButton::NonThemeStyle(int v) {
  p_.NonThemeStyle = v;
  LayoutAndPaint("NonThemeStyle");
}

void SorvButton::Enabled(bool v) {
  p_.Enabled = v;
  st_.ButtonState = StateNormal;
  Changed("Enabled");
  Refresh();
  if (hwnd_) EnableWindow(hwnd_, v);
}

void SorvButton::ShowFocus(bool v) {
  p_.ShowFocus = v;
  RefreshChanged("ShowFocus");
}
void SorvButton::UseCustomColors(bool v) {
  p_.UseCustomColors = v;
  RefreshChanged("UseCustomColors");
}
void SorvButton::BackColor(Colour v) {
  p_.BackColor = v;
  RefreshChanged("BackColor");
}
void SorvButton::HighlightColor(Colour v) {
  p_.HighlightColor = v;
  RefreshChanged("HighlightColor");
}
void SorvButton::FontColor(Colour v) {
  p_.FontColor = v;
  RefreshChanged("FontColor");
}
void SorvButton::FontHighlightColor(Colour v) {
  p_.FontHighlightColor = v;
  RefreshChanged("FontHighlightColor");
}

void SorvButton::ToolTipText(const std::wstring& v) {
  p_.ToolTipText = v;
  // While the tip shows, the container's text is set aside in tipText_.
  if (tipHeld_) {
    tipText_ = v;
    if (tipWindow_) {
      tipInfo_.lpszText = const_cast<wchar_t*>(tipText_.c_str());
      SendMessageW(tipWindow_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tipInfo_));
    }
  } else {
    ContainerToolTipText(v);
  }
  RefreshChanged("ToolTipText");
}

void SorvButton::ToolTipTitle(const std::wstring& v) {
  p_.ToolTipTitle = v;
  RefreshChanged("ToolTipTitle");
}
void SorvButton::ToolTipIcon(int v) {
  p_.ToolTipIcon = v;
  RefreshChanged("ToolTipIcon");
}
void SorvButton::ToolTipType(int v) {
  p_.ToolTipType = v;
  RefreshChanged("ToolTipType");
}
void SorvButton::ToolTipBackColor(Colour v) {
  p_.ToolTipBackColor = v;
  RefreshChanged("ToolTipBackColor");
}
void SorvButton::ToolTipForeColor(Colour v) {
  p_.ToolTipForeColor = v;
  RefreshChanged("ToolTipForeColor");
}

void SorvButton::Font(const LOGFONTW& v) {
  font_ = v;
  ApplyFont();
  RefreshChanged("Font");
}

void SorvButton::ButtonType(int v) {
  p_.ButtonType = v;
  RefreshChanged("ButtonType");
}

void SorvButton::MousePointer(int v) {
  mousePointer_ = v;  // the cursor follows on the next WM_SETCURSOR; no repaint
  Changed("MousePointer");
}

void SorvButton::Value(bool v) {
  p_.Value = v;
  RefreshChanged("Value");
}
void SorvButton::MaskColor(Colour v) {
  p_.MaskColor = v;
  RefreshChanged("MaskColor");
}
void SorvButton::UseMaskColor(bool v) {
  p_.UseMaskColor = v;
  RefreshChanged("UseMaskColor");
}

void SorvButton::InitProperties() {
  p_ = ButtonProps{};
  p_.Style = 0;
  p_.Caption = container.Name;
  p_.IconSize = 16;
  p_.Icon = nullptr;
  p_.Enabled = true;
  p_.BackColor = SysRGB(COLOR_BTNFACE);
  p_.HighlightColor = SysRGB(COLOR_HIGHLIGHT);
  p_.FontColor = SysRGB(COLOR_BTNTEXT);
  p_.FontHighlightColor = SysRGB(COLOR_BTNTEXT);
  p_.ToolTipType = 1;
  st_.CaptionFormat = DT_WORDBREAK | DT_CENTER;
  SyncWindowText();
  about_.RecordStyle();
  UserControl_Resize();
}

void SorvButton::ReadProperties(const PropertyBag& bag) {
  st_.ButtonState = StateNormal;
  p_.Style = bag.Read<std::int32_t>("Style", 3);
  p_.Caption = bag.Read<std::wstring>("Caption", L"SorvButton");
  SyncWindowText();
  p_.Icon = bag.Read<HICON>("Icon", nullptr);
  p_.IconAlign = bag.Read<std::int32_t>("IconAlign", 1);
  p_.IconSize = bag.Read<std::int32_t>("IconSize", 16);
  p_.CaptionAlign = bag.Read<std::int32_t>("CaptionAlign", 0);
  p_.NonThemeStyle = bag.Read<std::int32_t>("iNonThemeStyle", 5);
  p_.Enabled = bag.Read<bool>("Enabled", true);
  p_.ShowFocus = bag.Read<bool>("ShowFocus", false);
  p_.UseCustomColors = bag.Read<bool>("USeCustomColors", false);
  p_.BackColor = Colour(bag.Read<std::int32_t>("BackColor", L(SysRGB(COLOR_BTNFACE))));
  p_.HighlightColor = Colour(bag.Read<std::int32_t>("HighlightColor", L(SysRGB(COLOR_HIGHLIGHT))));
  p_.FontColor = Colour(bag.Read<std::int32_t>("FontColor", L(SysRGB(COLOR_BTNTEXT))));
  p_.FontHighlightColor =
      Colour(bag.Read<std::int32_t>("FontHighlightColor", L(SysRGB(COLOR_BTNTEXT))));
  // The container's own tooltip text takes the stored text first, then the property.
  ContainerToolTipText(bag.Read<std::wstring>("ToolTipText", p_.ToolTipText));
  p_.ToolTipText = bag.Read<std::wstring>("ToolTipText", L"");
  p_.ToolTipTitle = bag.Read<std::wstring>("Tooltiptitle", L"");
  p_.ToolTipIcon = bag.Read<std::int32_t>("ToolTipIcon", 0);
  p_.ToolTipType = bag.Read<std::int32_t>("ToolTipType", 1);
  // The tooltip colours default crossed over (a dark tip with light text). They stay
  // system-colour references: as plain RGB the black one would read as "system default",
  // leaving light text on the light system background.
  p_.ToolTipBackColor =
      Colour(bag.Read<std::int32_t>("ttBackColor", L(SysColourRef(COLOR_INFOTEXT))));
  p_.ToolTipForeColor =
      Colour(bag.Read<std::int32_t>("ttForeColor", L(SysColourRef(COLOR_INFOBK))));
  font_ = bag.Read<LOGFONTW>("Font", font_);
  ApplyFont();
  p_.ButtonType = bag.Read<std::int32_t>("ButtonType", 0);
  mousePointer_ = bag.Read<std::int16_t>("MousePointer", 0);
  p_.Value = bag.Read<bool>("Value", false);
  p_.MaskColor = Colour(bag.Read<std::int32_t>("MaskColor", 0xC0C0C0));
  p_.UseMaskColor = bag.Read<bool>("UseMaskColor", false);
  // The window follows, or a button loaded disabled would still take clicks and focus.
  if (hwnd_) EnableWindow(hwnd_, p_.Enabled);
  if (container.UserMode) StartTracking();
  UserControl_Resize();
}

void SorvButton::WriteProperties(PropertyBag& bag) const {
  bag.Write<std::int32_t>("Style", p_.Style, 3);
  bag.Write<std::wstring>("Caption", p_.Caption, L"SorvButton");
  bag.WriteAlways<HICON>("Icon", p_.Icon);
  bag.Write<std::int32_t>("IconAlign", p_.IconAlign, 1);
  bag.Write<std::int32_t>("IconSize", p_.IconSize, 16);
  bag.Write<std::int32_t>("CaptionAlign", p_.CaptionAlign, 0);
  bag.Write<std::int32_t>("iNonThemeStyle", p_.NonThemeStyle, 5);
  bag.Write<bool>("Enabled", p_.Enabled, true);
  bag.Write<bool>("ShowFocus", p_.ShowFocus, false);
  bag.Write<bool>("USeCustomColors", p_.UseCustomColors, false);
  bag.Write<std::int32_t>("BackColor", L(p_.BackColor), L(SysRGB(COLOR_BTNFACE)));
  bag.Write<std::int32_t>("HighlightColor", L(p_.HighlightColor), L(SysRGB(COLOR_HIGHLIGHT)));
  bag.Write<std::int32_t>("FontColor", L(p_.FontColor), L(SysRGB(COLOR_BTNTEXT)));
  bag.Write<std::int32_t>("FontHighlightColor", L(p_.FontHighlightColor), L(SysRGB(COLOR_BTNTEXT)));
  bag.Write<std::wstring>("ToolTipText", p_.ToolTipText, ContainerToolTipText());
  bag.WriteAlways<std::wstring>("Tooltiptitle", p_.ToolTipTitle);
  bag.WriteAlways<std::int32_t>("ToolTipIcon", p_.ToolTipIcon);
  bag.WriteAlways<std::int32_t>("ToolTipType", p_.ToolTipType);
  bag.Write<std::int32_t>("ttBackColor", L(p_.ToolTipBackColor), L(SysColourRef(COLOR_INFOTEXT)));
  bag.Write<std::int32_t>("ttForeColor", L(p_.ToolTipForeColor), L(SysColourRef(COLOR_INFOBK)));
  bag.WriteAlways<LOGFONTW>("Font", font_);
  bag.Write<std::int32_t>("ButtonType", p_.ButtonType, 0);
  bag.Write<std::int16_t>("MousePointer", std::int16_t(mousePointer_), 0);
  bag.Write<bool>("Value", p_.Value, false);
  bag.Write<std::int32_t>("MaskColor", L(p_.MaskColor), 0xC0C0C0);
  bag.Write<bool>("UseMaskColor", p_.UseMaskColor, false);
}

}  // namespace sorvbutton
