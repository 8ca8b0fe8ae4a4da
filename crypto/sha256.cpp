#include "sha256.h"

#include "wipe.h"

namespace {

constexpr uint32_t kRoundConstants[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

constexpr uint32_t kInitialHash[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                      0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};

inline uint32_t Rotr(uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

inline void StoreBigEndian(uint32_t w, uint8_t* p) {
  p[0] = uint8_t(w >> 24);
  p[1] = uint8_t(w >> 16);
  p[2] = uint8_t(w >> 8);
  p[3] = uint8_t(w);
}

}  // namespace

void Sha256Init(Sha256Context* context) {
  context->countLow = 0;
  context->countHigh = 0;
  for (int i = 0; i < 8; ++i) context->state[i] = kInitialHash[i];
}

void Sha256Compress(Sha256Context* context) {
  uint32_t w[64];
  const uint8_t* p = context->buffer;
  for (int t = 0; t < 16; ++t)
    w[t] = (uint32_t(p[4 * t]) << 24) | (uint32_t(p[4 * t + 1]) << 16) |
           (uint32_t(p[4 * t + 2]) << 8) | p[4 * t + 3];
  for (int t = 16; t < 64; ++t) {
    uint32_t s0 = Rotr(w[t - 15], 7) ^ Rotr(w[t - 15], 18) ^ (w[t - 15] >> 3);
    uint32_t s1 = Rotr(w[t - 2], 17) ^ Rotr(w[t - 2], 19) ^ (w[t - 2] >> 10);
    w[t] = w[t - 16] + s0 + w[t - 7] + s1;
  }
  uint32_t* h = context->state;
  uint32_t a = h[0], b = h[1], c = h[2], d = h[3], e = h[4], f = h[5], g = h[6], k = h[7];
  for (int t = 0; t < 64; ++t) {
    uint32_t t1 = k + (Rotr(e, 6) ^ Rotr(e, 11) ^ Rotr(e, 25)) + ((e & f) ^ (~e & g)) +
                  kRoundConstants[t] + w[t];
    uint32_t t2 = (Rotr(a, 2) ^ Rotr(a, 13) ^ Rotr(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
    k = g, g = f, f = e, e = d + t1;
    d = c, c = b, b = a, a = t1 + t2;
  }
  h[0] += a, h[1] += b, h[2] += c, h[3] += d;
  h[4] += e, h[5] += f, h[6] += g, h[7] += k;
}

void Sha256Update(Sha256Context* context, const void* bytes, size_t count) {
  const uint8_t* in = static_cast<const uint8_t*>(bytes);
  size_t used = context->countLow & 63;
  uint64_t total = (uint64_t(context->countHigh) << 32 | context->countLow) + uint64_t(count);
  context->countLow = uint32_t(total);
  context->countHigh = uint32_t(total >> 32);
  while (count) {
    size_t take = 64 - used;
    if (take > count) take = count;
    for (size_t i = 0; i < take; ++i) context->buffer[used + i] = in[i];
    in += take;
    count -= take;
    used += take;
    if (used == 64) {
      Sha256Compress(context);
      used = 0;
    }
  }
}

size_t Sha256Final(uint8_t* digest, Sha256Context* context, size_t n) {
  size_t used = context->countLow & 63;
  uint8_t* buffer = context->buffer;
  buffer[used++] = 0x80;
  if (used > 56) {
    while (used < 64) buffer[used++] = 0;
    Sha256Compress(context);
    used = 0;
  }
  while (used < 56) buffer[used++] = 0;
  StoreBigEndian(context->countHigh << 3 | context->countLow >> 29, buffer + 56);
  StoreBigEndian(context->countLow << 3, buffer + 60);
  Sha256Compress(context);

  if (n > 32) n = 32;
  uint8_t full[32];
  for (int i = 0; i < 8; ++i) StoreBigEndian(context->state[i], full + 4 * i);
  for (size_t i = 0; i < n; ++i) digest[i] = full[i];
  Wipe(full, sizeof full);
  return n;
}

size_t Sha256Digest(uint8_t* digest, const void* bytes, size_t count) {
  Sha256Context context;
  Sha256Init(&context);
  Sha256Update(&context, bytes, count);
  size_t n = Sha256Final(digest, &context, 32);
  Wipe(&context, sizeof context);
  return n;
}
