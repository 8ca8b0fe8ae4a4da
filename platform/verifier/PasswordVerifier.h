#pragma once
// The password verifier stored in data block 1 of every container.
//
// Stored format (fixed forever: containers made today are opened with it later):
//   upper-case hexadecimal of PBKDF2-HMAC-SHA256(password as UTF-8 bytes,
//   salt = the 24 ASCII bytes "Sorvane/SorvCtl/verifier", 100000 iterations, 32 bytes),
//   that is 64 characters [0-9A-F]. It depends on the password alone.
#include <string>
#include <string_view>

namespace verifier {

inline constexpr std::string_view kSalt = "Sorvane/SorvCtl/verifier";
inline constexpr unsigned kIterations = 100000;

std::string PasswordVerifier(std::string_view utf8Password);

}  // namespace verifier
