// SHA-256 (FIPS 180-2). Freestanding like aes.h.
#pragma once

#include <stddef.h>
#include <stdint.h>

struct Sha256Context {
  uint32_t countLow;   // bytes hashed so far, low word
  uint32_t countHigh;  // ... and the carry
  uint32_t state[8];   // chaining values H0..H7
  uint8_t buffer[64];  // bytes not yet compressed
};

void Sha256Init(Sha256Context* context);
void Sha256Update(Sha256Context* context, const void* bytes, size_t count);
// Writes the first n digest bytes (n is capped at 32) and returns that number.
size_t Sha256Final(uint8_t* digest, Sha256Context* context, size_t n);
// Whole digest of one message; returns 32.
size_t Sha256Digest(uint8_t* digest, const void* bytes, size_t count);
// Compresses the 64 bytes of context->buffer into the chaining values.
void Sha256Compress(Sha256Context* context);
