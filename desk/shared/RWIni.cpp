#include "RWIni.h"

#include <windows.h>

#include "CutAtNul.h"
#include "forms.h"

namespace {
// The file and every text in it are in the ANSI code page, as the other programs write them.
std::string A(const std::wstring& text) { return forms::ToAnsi(text); }
}  // namespace

void RWIni::WriteIniKey(const std::wstring& section, const std::wstring& key,
                        const std::wstring& value) {
  WritePrivateProfileStringA(A(section).c_str(), A(key).c_str(), A(value).c_str(),
                             A(fileName_).c_str());
}

std::wstring RWIni::GetIniKey(const std::wstring& section, const std::wstring& key) {
  std::string buffer(1024, ' ');
  GetPrivateProfileStringA(A(section).c_str(), A(key).c_str(), "", buffer.data(),
                           DWORD(buffer.size()), A(fileName_).c_str());
  std::string value = CutAtNul(buffer);
  size_t b = value.find_first_not_of(' ');
  value = b == std::string::npos ? "" : value.substr(b, value.find_last_not_of(' ') - b + 1);
  return forms::FromAnsi(value);
}

void RWIni::DelIniKey(const std::wstring& section, const std::wstring& key) {
  WritePrivateProfileStringA(A(section).c_str(), A(key).c_str(), nullptr, A(fileName_).c_str());
}

void RWIni::DelIniSec(const std::wstring& section) {
  WritePrivateProfileStringA(A(section).c_str(), nullptr, "", A(fileName_).c_str());
}

std::wstring RWIni::JoinPath(std::wstring dir, std::wstring name) {
  while (!dir.empty() && dir.back() == L'\\') dir.pop_back();
  while (!name.empty() && name.front() == L'\\') name.erase(0, 1);
  return dir + L"\\" + name;
}

void RWIni::SetIniFilePath(const std::wstring& dir, const std::wstring& name) {
  fileName_ = JoinPath(dir, name);
}
