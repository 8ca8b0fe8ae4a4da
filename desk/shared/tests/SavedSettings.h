#pragma once
// Keeps the named settings of HKLM "SoftWare\Sorvane" and puts them back afterwards.
#include <map>
#include <optional>
#include <string>

#include "Reg.h"

class SavedSettings {
 public:
  SavedSettings(std::initializer_list<const wchar_t*> names) {
    for (auto n : names) {
      DWORD type = 0;
      std::wstring v = GetRegValue(HKEY_LOCAL_MACHINE, SettingsKey, n, type);
      saved_[n] = type ? std::optional(v) : std::nullopt;
      DeleteRegValue(HKEY_LOCAL_MACHINE, SettingsKey, n);
    }
  }
  ~SavedSettings() {
    for (auto& [n, v] : saved_)
      v ? SetSetting(n.c_str(), *v) : DeleteRegValue(HKEY_LOCAL_MACHINE, SettingsKey, n);
  }

 private:
  std::map<std::wstring, std::optional<std::wstring>> saved_;
};
