#include "RWIni.h"

#include <windows.h>

#include "AnsiText.h"

void RWIni::WriteIniKey(const std::wstring& section, const std::wstring& key,
                        const std::wstring& value) {
  WritePrivateProfileStringA(ToAnsi(section).c_str(), ToAnsi(key).c_str(), ToAnsi(value).c_str(),
                             ToAnsi(fileName_).c_str());
}

std::wstring RWIni::GetIniKey(const std::wstring& section, const std::wstring& key) {
  std::string buffer(1024, ' ');
  GetPrivateProfileStringA(ToAnsi(section).c_str(), ToAnsi(key).c_str(), "", buffer.data(),
                           DWORD(buffer.size()), ToAnsi(fileName_).c_str());
  std::string value = CutAtNul(buffer);
  size_t b = value.find_first_not_of(' ');
  value = b == std::string::npos ? "" : value.substr(b, value.find_last_not_of(' ') - b + 1);
  return FromAnsi(value);
}

void RWIni::DelIniKey(const std::wstring& section, const std::wstring& key) {
  WritePrivateProfileStringA(ToAnsi(section).c_str(), ToAnsi(key).c_str(), nullptr,
                             ToAnsi(fileName_).c_str());
}

void RWIni::DelIniSec(const std::wstring& section) {
  WritePrivateProfileStringA(ToAnsi(section).c_str(), nullptr, "", ToAnsi(fileName_).c_str());
}

std::wstring RWIni::JoinPath(std::wstring dir, std::wstring name) {
  while (!dir.empty() && dir.back() == L'\\') dir.pop_back();
  while (!name.empty() && name.front() == L'\\') name.erase(0, 1);
  return dir + L"\\" + name;
}

void RWIni::SetIniFilePath(const std::wstring& dir, const std::wstring& name) {
  fileName_ = JoinPath(dir, name);
}
