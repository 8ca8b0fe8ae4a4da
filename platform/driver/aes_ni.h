// AES-128 with the processor's AES instructions, and XTS over one data unit with it.
// Freestanding; callers check AesNiAvailable() before using the rest.
#pragma once

#include <stddef.h>
#include <stdint.h>

struct AesNiKey {
  uint8_t enc[11 * 16];
  uint8_t dec[11 * 16];  // for the equivalent inverse cipher
};

bool AesNiAvailable();
void AesNiSetKey(AesNiKey* key, const uint8_t bytes[16]);
void AesNiEncryptBlock(const AesNiKey* key, const uint8_t in[16], uint8_t out[16]);

// bytes is a multiple of 16; in and out may be the same buffer.
void AesNiXtsEncrypt(const AesNiKey* data, const AesNiKey* tweak, uint64_t unit, const uint8_t* in,
                     uint8_t* out, size_t bytes);
void AesNiXtsDecrypt(const AesNiKey* data, const AesNiKey* tweak, uint64_t unit, const uint8_t* in,
                     uint8_t* out, size_t bytes);
