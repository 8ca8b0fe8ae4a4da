#include "OptionsDialog.h"

#include <commctrl.h>

#include <cstdint>

#include "Autostart.h"
#include "CutAtNul.h"
#include "Protection.h"
#include "Reg.h"

namespace desk {
namespace {

constexpr int kF1 = 112, kF12 = 123;

std::wstring Setting(const wchar_t* name) { return CutAtNul(GetSetting(name)); }
std::wstring Tick(const forms::CheckBox& box) { return box.Value() == 1 ? L"1" : L"0"; }

}  // namespace

std::wstring KeyTextOf(const std::wstring& stored) {
  constexpr uint32_t kLastCode = 0x10FFFF;
  uint32_t code = 0;
  for (wchar_t c : stored) {
    if (c < L'0' || c > L'9' || code > kLastCode) return L"F12";
    code = code * 10 + (c - L'0');
  }
  if (code >= kF1 && code <= kF12) return L"F" + std::to_wstring(code - kF1 + 1);
  // Any other number is the character with that code; a number that names none (0, a
  // surrogate half, beyond Unicode) keeps the F12 that an empty value gives.
  if (code == 0 || code > kLastCode || (code >= 0xD800 && code <= 0xDFFF)) return L"F12";
  if (code <= 0xFFFF) return std::wstring(1, wchar_t(code));
  code -= 0x10000;
  return {wchar_t(0xD800 + (code >> 10)), wchar_t(0xDC00 + (code & 0x3FF))};
}

int KeyCodeOf(const std::wstring& text) {
  for (int n = 1; n <= 12; ++n)
    if (text == L"F" + std::to_wstring(n)) return kF1 + n - 1;
  if (text.empty()) return kF12;
  // The code of the first character, also when it takes two UTF-16 units.
  const int high = text[0];
  if (high >= 0xD800 && high <= 0xDBFF && text.size() > 1 && text[1] >= 0xDC00 && text[1] <= 0xDFFF)
    return 0x10000 + ((high - 0xD800) << 10) + (text[1] - 0xDC00);
  return high;
}

Form5::Form5() {
  ClientSize(5160, 3960);
  Border(forms::BorderStyle::FixedDialog);
  ShowInTaskbar(false);
}

void Form5::Design() {
  Frame2.Create(*this, nullptr, L"", 120, 60, 4920, 660);
  Check1.Create(*this, &Frame2, L"", 240, 270, 3000, 300);
  Frame1.Create(*this, nullptr, L"", 120, 840, 4920, 660);
  Check2.Create(*this, &Frame1, L"", 240, 270, 3000, 300);
  Frame3.Create(*this, nullptr, L"", 120, 1620, 4920, 1620);
  Check3.Create(*this, &Frame3, L"", 240, 300, 3000, 300);
  Check3.Click = [this] { Check3_Click(); };
  Check4.Create(*this, &Frame3, L"", 240, 780, 900, 300);
  Check5.Create(*this, &Frame3, L"", 1200, 780, 900, 300);
  Check6.Create(*this, &Frame3, L"", 2160, 780, 900, 300);
  Combo1.Create(*this, &Frame3, 3180, 760, 1500, 300);
  Command1.Create(*this, nullptr, L"", 2400, 3420, 1200, 375);
  Command1.Default(true);
  Command1.Click = [this] { SaveOptions(); };
  Command2.Create(*this, nullptr, L"", 3840, 3420, 1200, 375);
  Command2.Cancel(true);
  Command2.Click = [this] { Unload(); };
}

void Form5::Form_Initialize() { InitCommonControls(); }

void Form5::Form_Load() {
  Caption(L"选项");
  Frame2.Caption(L"是否保护加密盘文件");
  Check1.Caption(L"保护");
  Frame1.Caption(L"是否开机自动运行“启动Velkiro”");
  Check2.Caption(L"自动运行");
  Frame3.Caption(L"设置隐藏/显示托盘区图标的热键");
  Check3.Caption(L"启用热键");
  Check4.Caption(L"Ctrl");
  Check5.Caption(L"Alt");
  Check6.Caption(L"Shift");
  Command1.Caption(L"确定");
  Command2.Caption(L"取消");
  Centre();

  Check1.Value(Setting(L"IsProtectFile") == L"1" ? 1 : 0);
  Check2.Value(Setting(L"IsAutoMount") == L"1" ? 1 : 0);
  if (Setting(L"HotKeyConfig") != L"0") {
    Check3.Value(1);  // runs Check3_Click: the boxes enabled, the list filled
    Check4.Value(Setting(L"HotKeyCtrl") != L"0" ? 1 : 0);
    Check5.Value(Setting(L"HotKeyAlt") != L"0" ? 1 : 0);
    Check6.Value(Setting(L"HotKeyShift") == L"1" ? 1 : 0);
    Combo1.Text(KeyTextOf(Setting(L"HotKeyKey")));
  } else {
    Check3.Value(0);
    EnableHotKeyBoxes(false);
  }
}

void Form5::Check3_Click() {
  const bool on = Check3.Value() == 1;
  EnableHotKeyBoxes(on);
  if (on) FillHotKeyList();
}

void Form5::EnableHotKeyBoxes(bool on) {
  Check4.Enabled(on);
  Check5.Enabled(on);
  Check6.Enabled(on);
  Combo1.Enabled(on);
}

void Form5::FillHotKeyList() {
  const std::wstring text = Combo1.Text();
  Combo1.Clear();
  for (wchar_t c = L'0'; c <= L'9'; ++c) Combo1.AddItem(std::wstring(1, c));
  for (wchar_t c = L'A'; c <= L'Z'; ++c) Combo1.AddItem(std::wstring(1, c));
  for (int n = 1; n <= 12; ++n) Combo1.AddItem(L"F" + std::to_wstring(n));
  Combo1.Text(text);
}

void Form5::SaveOptions() {
  const bool protect = Check1.Value() == 1, autostart = Check2.Value() == 1;
  if (protect)
    ProtectCvdFile();
  else
    UnprotectCvdFile();
  const AutostartResult guard =
      SetAutostart(AutostartPolicyKey, SRProtectValue, protect, L"SorvGuard.exe");
  bool saved = guard != AutostartResult::Failed;
  saved &= SetSetting(L"IsProtectFile", Tick(Check1));
  // Not set from a program outside the installed folder: IsAutoMount keeps saying what is.
  const AutostartResult start =
      SetAutostart(AutostartRunKey, SRStartValue, autostart, L"start.exe");
  if (start != AutostartResult::NotInstalled) {
    saved &= start == AutostartResult::Done;
    saved &= SetSetting(L"IsAutoMount", Tick(Check2));
  }
  saved &= SetSetting(L"HotKeyConfig", Tick(Check3));
  saved &= SetSetting(L"HotKeyCtrl", Tick(Check4));
  saved &= SetSetting(L"HotKeyAlt", Tick(Check5));
  saved &= SetSetting(L"HotKeyShift", Tick(Check6));
  saved &= SetSetting(L"HotKeyKey", std::to_wstring(KeyCodeOf(Combo1.Text())));
  if (guard == AutostartResult::NotInstalled || start == AutostartResult::NotInstalled)
    TellAutostartNotInstalled();
  if (!saved) {
    forms::MsgBox(L"选项没有全部保存：不能写入注册表，请确认有修改注册表的权限后重试一次。",
                  MB_OK | MB_ICONERROR, L"错误");
    return;
  }
  Unload();
}

}  // namespace desk
