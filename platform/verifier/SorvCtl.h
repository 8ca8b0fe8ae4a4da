#pragma once
// The password-verifier control as the password forms use it: SetPassword, then Verifier.
#include <string>

class SorvCtl {
 public:
  // The password exactly as typed (blanks and case kept); any text, the empty one included.
  // Only its verifier is kept, not the password.
  void SetPassword(const std::wstring& password);
  // The verifier of the last password set: 64 upper-case hexadecimal digits.
  std::wstring Verifier() const;

 private:
  std::string verifier_;
};
