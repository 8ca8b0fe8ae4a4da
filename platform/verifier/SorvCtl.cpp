#include "SorvCtl.h"

#include <windows.h>

#include "PasswordVerifier.h"

void SorvCtl::SetPassword(const std::wstring& password) {
  std::string utf8;
  if (!password.empty()) {
    int n = WideCharToMultiByte(CP_UTF8, 0, password.data(), int(password.size()), nullptr, 0,
                                nullptr, nullptr);
    utf8.resize(size_t(n));
    WideCharToMultiByte(CP_UTF8, 0, password.data(), int(password.size()), utf8.data(), n,
                        nullptr, nullptr);
  }
  verifier_ = verifier::PasswordVerifier(utf8);
  SecureZeroMemory(utf8.data(), utf8.size());
}

std::wstring SorvCtl::Verifier() const {
  // Before any SetPassword: the empty password's.
  const std::string hex = verifier_.empty() ? verifier::PasswordVerifier("") : verifier_;
  return std::wstring(hex.begin(), hex.end());
}
