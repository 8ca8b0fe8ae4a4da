#include "Pbkdf2.h"

#include <cstring>

#include "sha256.h"

namespace verifier {

void Pbkdf2HmacSha256(std::string_view password, std::string_view salt, uint32_t iterations,
                      uint8_t out[32]) {
  uint8_t key[64] = {};
  if (password.size() > 64)
    Sha256Digest(key, password.data(), password.size());
  else
    std::memcpy(key, password.data(), password.size());

  // The keyed inner and outer states are made once; each HMAC then costs two compressions.
  uint8_t pad[64];
  Sha256Context inner, outer, c;
  for (int i = 0; i < 64; ++i) pad[i] = key[i] ^ 0x36;
  Sha256Init(&inner);
  Sha256Update(&inner, pad, 64);
  for (int i = 0; i < 64; ++i) pad[i] = key[i] ^ 0x5c;
  Sha256Init(&outer);
  Sha256Update(&outer, pad, 64);

  // U1 = HMAC(P, salt || INT(1)), Uj = HMAC(P, Uj-1), T = U1 ^ ... ^ Uc
  uint8_t u[32];
  c = inner;
  Sha256Update(&c, salt.data(), salt.size());
  const uint8_t blockIndex[4] = {0, 0, 0, 1};
  Sha256Update(&c, blockIndex, 4);
  Sha256Final(u, &c, 32);
  c = outer;
  Sha256Update(&c, u, 32);
  Sha256Final(u, &c, 32);
  std::memcpy(out, u, 32);
  for (uint32_t j = 1; j < iterations; ++j) {
    c = inner;
    Sha256Update(&c, u, 32);
    Sha256Final(u, &c, 32);
    c = outer;
    Sha256Update(&c, u, 32);
    Sha256Final(u, &c, 32);
    for (int i = 0; i < 32; ++i) out[i] ^= u[i];
  }
}

}  // namespace verifier
