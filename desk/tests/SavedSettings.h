#pragma once
// Keeps the named settings of HKLM "SoftWare\Sorvane" and puts them back afterwards.
#include <map>
#include <string>

#include "Reg.h"

class SavedSettings {
public:
  SavedSettings(std::initializer_list<const wchar_t*> names) {
    for (auto n : names) {
      DWORD type = 0;
      std::wstring v = GetRegValue(HKEY_LOCAL_MACHINE, SettingsKey, n, type);
      saved_[n] = type ? v : kMissing;
      DeleteRegValue(HKEY_LOCAL_MACHINE, SettingsKey, n);
    }
  }
  ~SavedSettings() {
    for (auto& [n, v] : saved_) {
      if (v == kMissing)
        DeleteRegValue(HKEY_LOCAL_MACHINE, SettingsKey, n);
      else
        SetSetting(n.c_str(), v);
    }
  }

private:
  static inline const std::wstring kMissing = L"\x1F<missing>";
  std::map<std::wstring, std::wstring> saved_;
};
