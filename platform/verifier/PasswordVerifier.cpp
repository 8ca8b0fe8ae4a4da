#include "PasswordVerifier.h"

#include "Pbkdf2.h"

namespace verifier {

std::string PasswordVerifier(std::string_view utf8Password) {
  uint8_t dk[32];
  Pbkdf2HmacSha256(utf8Password, kSalt, kIterations, dk);
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(64);
  for (uint8_t b : dk) {
    text += kHex[b >> 4];
    text += kHex[b & 15];
  }
  return text;
}

}  // namespace verifier
