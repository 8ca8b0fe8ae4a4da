// AES block cipher (FIPS-197), table-driven, for 128-, 192- and 256-bit keys.
// Freestanding: no C++ library, no exceptions, no static constructors, so the
// disk driver can compile it as it is.
#pragma once

#include <stddef.h>
#include <stdint.h>

// Round keys are column words with the column's first byte in the high bits.
struct AesContext {
  uint32_t nk;           // key length in 32-bit words: 4, 6 or 8
  uint32_t nr;           // rounds: 10, 12 or 14
  uint32_t encKeys[60];  // 4 * (nr + 1) words used
  uint32_t decKeys[60];  // equivalent inverse cipher; built unless encryptOnly
};

// keyLength in bytes or bits: 24/192 and 32/256 pick the longer keys, any
// other value a 128-bit key (the first 16 key bytes).
void AesSetKey(AesContext* context, const uint8_t* key, int keyLength, int encryptOnly);

// One 16-byte block; in and out may be the same buffer.
void AesEncryptBlock(const AesContext* context, const uint8_t* in, uint8_t* out);
void AesDecryptBlock(const AesContext* context, const uint8_t* in, uint8_t* out);
