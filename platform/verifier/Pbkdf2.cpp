#include "Pbkdf2.h"

#include <algorithm>
#include <cstring>

namespace verifier {
namespace {

constexpr uint32_t K[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

constexpr uint32_t H0[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                            0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};

inline uint32_t Rotr(uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

// One SHA-256 compression of the 16 big-endian words w into state.
void Compress(uint32_t state[8], const uint32_t block[16]) {
  uint32_t w[64];
  std::memcpy(w, block, 64);
  for (int i = 16; i < 64; ++i) {
    uint32_t s0 = Rotr(w[i - 15], 7) ^ Rotr(w[i - 15], 18) ^ (w[i - 15] >> 3);
    uint32_t s1 = Rotr(w[i - 2], 17) ^ Rotr(w[i - 2], 19) ^ (w[i - 2] >> 10);
    w[i] = w[i - 16] + s0 + w[i - 7] + s1;
  }
  uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
  uint32_t e = state[4], f = state[5], g = state[6], h = state[7];
  for (int i = 0; i < 64; ++i) {
    uint32_t t1 = h + (Rotr(e, 6) ^ Rotr(e, 11) ^ Rotr(e, 25)) + ((e & f) ^ (~e & g)) + K[i] + w[i];
    uint32_t t2 = (Rotr(a, 2) ^ Rotr(a, 13) ^ Rotr(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
    h = g; g = f; f = e; e = d + t1;
    d = c; c = b; b = a; a = t1 + t2;
  }
  state[0] += a; state[1] += b; state[2] += c; state[3] += d;
  state[4] += e; state[5] += f; state[6] += g; state[7] += h;
}

uint32_t LoadBe(const uint8_t* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

// Streaming SHA-256 for the few messages of arbitrary length (long keys, the first block).
struct Sha256 {
  uint32_t state[8];
  uint8_t buf[64];
  size_t used = 0;
  uint64_t total = 0;

  explicit Sha256(const uint32_t init[8] = H0, uint64_t already = 0) : total(already) {
    std::memcpy(state, init, sizeof state);
  }
  void Block(const uint8_t* p) {
    uint32_t w[16];
    for (int i = 0; i < 16; ++i) w[i] = LoadBe(p + 4 * i);
    Compress(state, w);
  }
  void Update(const uint8_t* p, size_t n) {
    total += n;
    while (n > 0) {
      size_t take = std::min(n, 64 - used);
      std::memcpy(buf + used, p, take);
      used += take, p += take, n -= take;
      if (used == 64) Block(buf), used = 0;
    }
  }
  void Final(uint32_t out[8]) {
    uint64_t bits = total * 8;
    uint8_t pad = 0x80;
    Update(&pad, 1);
    uint8_t zero = 0;
    while (used != 56) Update(&zero, 1);
    uint8_t len[8];
    for (int i = 0; i < 8; ++i) len[i] = uint8_t(bits >> (56 - 8 * i));
    Update(len, 8);
    std::memcpy(out, state, 32);
  }
};

// HMAC of a 32-byte message from precomputed inner/outer states: two compressions.
void HmacOfDigest(const uint32_t inner[8], const uint32_t outer[8], uint32_t msg[8]) {
  uint32_t block[16] = {};
  std::memcpy(block, msg, 32);
  block[8] = 0x80000000;
  block[15] = (64 + 32) * 8;
  uint32_t s[8];
  std::memcpy(s, inner, 32);
  Compress(s, block);
  std::memcpy(block, s, 32);
  std::memcpy(s, outer, 32);
  Compress(s, block);
  std::memcpy(msg, s, 32);
}

}  // namespace

void Pbkdf2HmacSha256(std::string_view password, std::string_view salt, uint32_t iterations,
                      uint8_t out[32]) {
  uint8_t key[64] = {};
  if (password.size() > 64) {
    Sha256 h;
    h.Update(reinterpret_cast<const uint8_t*>(password.data()), password.size());
    uint32_t d[8];
    h.Final(d);
    for (int i = 0; i < 32; ++i) key[i] = uint8_t(d[i / 4] >> (24 - 8 * (i % 4)));
  } else {
    std::memcpy(key, password.data(), password.size());
  }
  uint8_t ipad[64], opad[64];
  for (int i = 0; i < 64; ++i) ipad[i] = key[i] ^ 0x36, opad[i] = key[i] ^ 0x5c;
  Sha256 in, outer;
  in.Update(ipad, 64);
  outer.Update(opad, 64);

  // U1 = HMAC(P, salt || INT(1))
  Sha256 h(in.state, 64);
  h.Update(reinterpret_cast<const uint8_t*>(salt.data()), salt.size());
  const uint8_t one[4] = {0, 0, 0, 1};
  h.Update(one, 4);
  uint32_t u[8];
  h.Final(u);
  Sha256 o(outer.state, 64);
  uint8_t ub[32];
  for (int i = 0; i < 32; ++i) ub[i] = uint8_t(u[i / 4] >> (24 - 8 * (i % 4)));
  o.Update(ub, 32);
  o.Final(u);

  uint32_t t[8];
  std::memcpy(t, u, 32);
  for (uint32_t j = 1; j < iterations; ++j) {
    HmacOfDigest(in.state, outer.state, u);
    for (int i = 0; i < 8; ++i) t[i] ^= u[i];
  }
  for (int i = 0; i < 32; ++i) out[i] = uint8_t(t[i / 4] >> (24 - 8 * (i % 4)));
}

}  // namespace verifier
