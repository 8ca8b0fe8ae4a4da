#pragma once
// The registry module: every setting of the programs goes through these procedures.
#include <windows.h>

#include <cstdint>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

// A value as callers hand it over: text, number or byte array.
struct RegValue {
  std::variant<std::wstring, double, std::vector<int64_t>> data;
  RegValue(const std::wstring& text) : data(text) {}
  RegValue(const wchar_t* text) : data(std::wstring(text)) {}
  // Any number (a bool as 1 or 0); stored as text it is its decimal form.
  template <class N, std::enable_if_t<std::is_arithmetic_v<N>, int> = 0>
  RegValue(N number) : data(double(number)) {}
  RegValue(const std::vector<int64_t>& bytes) : data(bytes) {}
};

// Creates or opens root\subKey and stores value as valueType (1, 2, 7 text; 3 bytes; 4 a
// 32-bit number). True when the registry accepted it.
bool SetRegValue(HKEY root, const std::wstring& subKey, const std::wstring& valueName,
                 const RegValue& value, DWORD valueType);
// The value as text, blanks trimmed at both ends; "" when key or value is missing.
// valueType receives the stored type (0 when missing).
std::wstring GetRegValue(HKEY root, const std::wstring& subKey, const std::wstring& valueName,
                         DWORD& valueType);
std::wstring GetRegValue(HKEY root, const std::wstring& subKey, const std::wstring& valueName);
// Deletes valueName, or with an empty valueName the key subKey itself (when it has no subkeys).
bool DeleteRegValue(HKEY root, const std::wstring& subKey, const std::wstring& valueName);

// The programs' settings: HKLM "SoftWare\Sorvane", every value REG_SZ text.
inline constexpr wchar_t SettingsKey[] = L"SoftWare\\Sorvane";
std::wstring GetSetting(const wchar_t* name);
bool SetSetting(const wchar_t* name, const std::wstring& value);
// Written by setup only: the folder it installed the programs into, without a final "\".
// Only administrators write HKLM, so a program that runs from this folder is the installed one.
inline constexpr wchar_t InstallFolderValue[] = L"InstallFolder";

// Per-user autostart values under HKCU.
inline constexpr wchar_t AutostartRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run\\";
inline constexpr wchar_t AutostartPolicyKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\Run";
inline constexpr wchar_t SRStartValue[] = L"SRStart";
inline constexpr wchar_t SRProtectValue[] = L"SRProtect";
