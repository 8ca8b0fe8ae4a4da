#pragma once
// PBKDF2-HMAC-SHA256 with a 32-byte output (one block), for the password verifier.
#include <cstdint>
#include <string_view>

namespace verifier {

void Pbkdf2HmacSha256(std::string_view password, std::string_view salt, uint32_t iterations,
                      uint8_t out[32]);

}  // namespace verifier
