#pragma once
// The hot key that hides and shows the tray icon, from the settings HotKeyConfig,
// HotKeyCtrl, HotKeyAlt, HotKeyShift and HotKeyKey.
#include <windows.h>

#include <string>

namespace tray {

struct HotKeySetting {
  bool enabled = false;  // HotKeyConfig not "0"
  UINT modifiers = 0;    // MOD_CONTROL, MOD_ALT, MOD_SHIFT
  UINT vkey = 0;
};

HotKeySetting HotKeyFromValues(const std::wstring& config, const std::wstring& ctrl,
                               const std::wstring& alt, const std::wstring& shift,
                               const std::wstring& key);
HotKeySetting ReadHotKeySetting();

}  // namespace tray
