#include "SorvCtl.h"

#include <windows.h>

#include "PasswordVerifier.h"

void SorvCtl::SetPassword(const std::wstring& password) {
  utf8_.clear();
  if (password.empty()) return;
  int n = WideCharToMultiByte(CP_UTF8, 0, password.data(), int(password.size()), nullptr, 0,
                              nullptr, nullptr);
  utf8_.resize(size_t(n));
  WideCharToMultiByte(CP_UTF8, 0, password.data(), int(password.size()), utf8_.data(), n, nullptr,
                      nullptr);
}

std::wstring SorvCtl::Verifier() const {
  std::string hex = verifier::PasswordVerifier(utf8_);
  return std::wstring(hex.begin(), hex.end());
}
