#include "HotKey.h"

#include "CutAtNul.h"
#include "Reg.h"

namespace tray {
namespace {

constexpr UINT kF12 = VK_F12;

// Only the options dialog writes the key, as a decimal number; anything else is taken as F12
// rather than registering key 0.
UINT KeyFromText(const std::wstring& text) {
  if (text.empty() || text.size() > 3) return kF12;
  UINT key = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return kF12;
    key = key * 10 + (c - L'0');
  }
  return key >= 1 && key <= 254 ? key : kF12;
}

}  // namespace

HotKeySetting HotKeyFromValues(const std::wstring& config, const std::wstring& ctrl,
                               const std::wstring& alt, const std::wstring& shift,
                               const std::wstring& key) {
  HotKeySetting h;
  h.enabled = config != L"0";
  if (ctrl != L"0") h.modifiers += MOD_CONTROL;
  if (alt != L"0") h.modifiers += MOD_ALT;
  if (shift == L"1") h.modifiers += MOD_SHIFT;
  h.vkey = KeyFromText(key);
  return h;
}

HotKeySetting ReadHotKeySetting() {
  auto value = [](const wchar_t* name) { return CutAtNul(GetSetting(name)); };
  return HotKeyFromValues(value(L"HotKeyConfig"), value(L"HotKeyCtrl"), value(L"HotKeyAlt"),
                          value(L"HotKeyShift"), value(L"HotKeyKey"));
}

}  // namespace tray
