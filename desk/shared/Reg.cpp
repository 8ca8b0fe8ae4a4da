#include "Reg.h"

#include <cmath>
#include <cstring>
#include <cstdio>
#include <cwchar>

namespace {

// Every open asks for this, reads included, so all programs see the key the same way.
constexpr REGSAM kAccess = 0x2003F;

std::wstring Trim(const std::wstring& s) {
  size_t b = s.find_first_not_of(L' ');
  if (b == std::wstring::npos) return {};
  return s.substr(b, s.find_last_not_of(L' ') - b + 1);
}

std::wstring NumberText(double n) {
  wchar_t buf[64];
  if (std::nearbyint(n) == n && std::fabs(n) < 1e15)
    std::swprintf(buf, 64, L"%.0f", n);
  else
    std::swprintf(buf, 64, L"%.15g", n);
  return buf;
}

std::wstring AsText(const RegValue& v) {
  if (auto s = std::get_if<std::wstring>(&v.data)) return *s;
  if (auto n = std::get_if<double>(&v.data)) return NumberText(*n);
  return {};
}

bool AsNumber(const RegValue& v, double& out) {
  if (auto n = std::get_if<double>(&v.data)) return out = *n, true;
  if (auto s = std::get_if<std::wstring>(&v.data)) {
    std::wstring t = Trim(*s);
    wchar_t* end = nullptr;
    out = std::wcstod(t.c_str(), &end);
    return !t.empty() && *end == L'\0';
  }
  return false;
}

// Eight upper-case hex digits, most significant first.
std::wstring NumberToHex(double number) {
  uint32_t n = uint32_t(std::nearbyint(number));
  wchar_t buf[9];
  for (int pos = 7; pos >= 0; --pos, n /= 16) buf[pos] = L"0123456789ABCDEF"[n % 16];
  buf[8] = L'\0';
  return buf;
}

class Key {
 public:
  ~Key() {
    if (h_) RegCloseKey(h_);
  }
  HKEY* out() { return &h_; }
  HKEY get() const { return h_; }

 private:
  HKEY h_ = nullptr;
};

}  // namespace

bool SetRegValue(HKEY root, const std::wstring& subKey, const std::wstring& valueName,
                 const RegValue& value, DWORD valueType) {
  Key key;
  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
  std::wstring cls = std::to_wstring(valueType);
  if (RegCreateKeyExW(root, subKey.c_str(), 0, cls.data(), REG_OPTION_NON_VOLATILE, kAccess, &sa,
                      key.out(), nullptr) != ERROR_SUCCESS)
    return false;
  std::vector<BYTE> data;
  switch (valueType) {
    case REG_SZ:
    case REG_EXPAND_SZ:
    case REG_MULTI_SZ: {
      std::wstring text = AsText(value);
      auto p = reinterpret_cast<const BYTE*>(text.c_str());
      data.assign(p, p + (text.size() + 1) * sizeof(wchar_t));
      break;
    }
    case REG_BINARY: {
      auto bytes = std::get_if<std::vector<int64_t>>(&value.data);
      if (!bytes) return false;
      for (int64_t b : *bytes) data.push_back(b >= 0 && b <= 255 ? BYTE(b) : 0);
      break;
    }
    case REG_DWORD: {
      double n;
      if (!AsNumber(value, n) || n < 0 || std::nearbyint(n) > 4294967295.0) return false;
      std::wstring hex = NumberToHex(n);
      for (int pair = 3; pair >= 0; --pair)
        data.push_back(BYTE(std::wcstoul(hex.substr(size_t(pair) * 2, 2).c_str(), nullptr, 16)));
      break;
    }
    default:
      return true;
  }
  return RegSetValueExW(key.get(), valueName.c_str(), 0, valueType, data.data(),
                        DWORD(data.size())) == ERROR_SUCCESS;
}

std::wstring GetRegValue(HKEY root, const std::wstring& subKey, const std::wstring& valueName,
                         DWORD& valueType) {
  valueType = 0;
  Key key;
  if (RegOpenKeyExW(root, subKey.c_str(), 0, kAccess, key.out()) != ERROR_SUCCESS) return {};
  DWORD size = 0;
  if (RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &valueType, nullptr, &size) !=
      ERROR_SUCCESS)
    return valueType = 0, std::wstring();
  std::vector<BYTE> data(size + sizeof(wchar_t));
  if (RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &valueType, data.data(), &size) !=
      ERROR_SUCCESS)
    return valueType = 0, std::wstring();
  std::wstring text;
  switch (valueType) {
    case REG_SZ:
    case REG_EXPAND_SZ:
    case REG_MULTI_SZ:
      text.assign(reinterpret_cast<const wchar_t*>(data.data()), size / sizeof(wchar_t));
      if (!text.empty() && text.back() == L'\0') text.pop_back();
      break;
    case REG_BINARY:
      for (DWORD i = 0; i < size; ++i) {
        wchar_t hex[4];
        std::swprintf(hex, 4, L"%02X ", data[i]);
        text += hex;
      }
      break;
    case REG_DWORD:
      if (size >= 4) {
        DWORD v;
        std::memcpy(&v, data.data(), 4);
        text = std::to_wstring(v);
      }
      break;
  }
  return Trim(text);
}

std::wstring GetRegValue(HKEY root, const std::wstring& subKey, const std::wstring& valueName) {
  DWORD type = 0;
  return GetRegValue(root, subKey, valueName, type);
}

bool DeleteRegValue(HKEY root, const std::wstring& subKey, const std::wstring& valueName) {
  Key key;
  if (RegOpenKeyExW(root, subKey.c_str(), 0, kAccess, key.out()) != ERROR_SUCCESS) return false;
  if (!valueName.empty()) return RegDeleteValueW(key.get(), valueName.c_str()) == ERROR_SUCCESS;

  // A trailing backslash names the same key; an empty leaf would name the parent itself.
  std::wstring path = subKey;
  while (!path.empty() && path.back() == L'\\') path.pop_back();
  size_t cut = path.find_last_of(L'\\');
  std::wstring parent, leaf = path;
  if (cut != std::wstring::npos && cut > 0)
    parent = path.substr(0, cut), leaf = path.substr(cut + 1);
  if (leaf.empty()) return false;
  Key parentKey;
  if (RegOpenKeyExW(root, parent.c_str(), 0, kAccess, parentKey.out()) != ERROR_SUCCESS)
    return false;
  return RegDeleteKeyW(parentKey.get(), leaf.c_str()) == ERROR_SUCCESS;
}

std::wstring GetSetting(const wchar_t* name) {
  return GetRegValue(HKEY_LOCAL_MACHINE, SettingsKey, name);
}

bool SetSetting(const wchar_t* name, const std::wstring& value) {
  return SetRegValue(HKEY_LOCAL_MACHINE, SettingsKey, name, value, REG_SZ);
}
