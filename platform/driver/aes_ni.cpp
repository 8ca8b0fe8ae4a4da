#include "aes_ni.h"

#include <cpuid.h>
#include <wmmintrin.h>

#include "clear_registers.h"
#include "wipebytes.h"

#define AESNI __attribute__((target("aes,sse2")))

bool AesNiAvailable() {
  unsigned a, b, c, d;
  if (!__get_cpuid(1, &a, &b, &c, &d)) return false;
  return (c & bit_AES) != 0;
}

namespace {

AESNI inline __m128i ExpandStep(__m128i key, __m128i assist) {
  assist = _mm_shuffle_epi32(assist, 0xff);
  key = _mm_xor_si128(key, _mm_slli_si128(key, 4));
  key = _mm_xor_si128(key, _mm_slli_si128(key, 4));
  key = _mm_xor_si128(key, _mm_slli_si128(key, 4));
  return _mm_xor_si128(key, assist);
}

// Multiplies a tweak by x in GF(2^128), little-endian as XTS counts it.
AESNI inline __m128i NextTweak(__m128i t) {
  __m128i carry = _mm_srai_epi32(_mm_shuffle_epi32(t, 0x13), 31);
  carry = _mm_and_si128(carry, _mm_set_epi32(0, 1, 0, 0x87));
  return _mm_xor_si128(_mm_add_epi64(t, t), carry);
}

AESNI inline __m128i RoundKey(const uint8_t* keys, int i) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(keys + 16 * i));
}

AESNI __m128i FirstTweak(const AesNiKey* tweak, uint64_t unit) {
  __m128i t = _mm_set_epi64x(0, static_cast<long long>(unit));
  t = _mm_xor_si128(t, RoundKey(tweak->enc, 0));
  for (int r = 1; r < 10; ++r) t = _mm_aesenc_si128(t, RoundKey(tweak->enc, r));
  return _mm_aesenclast_si128(t, RoundKey(tweak->enc, 10));
}

template <bool Encrypt>
AESNI void Xts(const AesNiKey* data, const AesNiKey* tweak, uint64_t unit, const uint8_t* in,
               uint8_t* out, size_t bytes) {
  const uint8_t* keys = Encrypt ? data->enc : data->dec;
  __m128i rk[11];
  for (int r = 0; r < 11; ++r) rk[r] = RoundKey(keys, r);
  __m128i t = FirstTweak(tweak, unit);
  size_t blocks = bytes / 16;
  // Eight blocks at a time keep the AES unit's pipeline full.
  while (blocks >= 8) {
    __m128i tw[8], x[8];
#pragma GCC unroll 8
    for (int i = 0; i < 8; ++i) {
      tw[i] = t;
      t = NextTweak(t);
      x[i] = _mm_xor_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in) + i), tw[i]);
      x[i] = _mm_xor_si128(x[i], rk[0]);
    }
#pragma GCC unroll 9
    for (int r = 1; r < 10; ++r)
#pragma GCC unroll 8
      for (int i = 0; i < 8; ++i)
        x[i] = Encrypt ? _mm_aesenc_si128(x[i], rk[r]) : _mm_aesdec_si128(x[i], rk[r]);
#pragma GCC unroll 8
    for (int i = 0; i < 8; ++i) {
      x[i] = Encrypt ? _mm_aesenclast_si128(x[i], rk[10]) : _mm_aesdeclast_si128(x[i], rk[10]);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out) + i, _mm_xor_si128(x[i], tw[i]));
    }
    in += 128;
    out += 128;
    blocks -= 8;
  }
  for (; blocks > 0; --blocks, in += 16, out += 16) {
    __m128i x = _mm_xor_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in)), t);
    x = _mm_xor_si128(x, rk[0]);
    for (int r = 1; r < 10; ++r)
      x = Encrypt ? _mm_aesenc_si128(x, rk[r]) : _mm_aesdec_si128(x, rk[r]);
    x = Encrypt ? _mm_aesenclast_si128(x, rk[10]) : _mm_aesdeclast_si128(x, rk[10]);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_xor_si128(x, t));
    t = NextTweak(t);
  }
  ClearSseRegisters();
}

}  // namespace

#define EXPAND(i, rcon) k[i] = ExpandStep(k[i - 1], _mm_aeskeygenassist_si128(k[i - 1], rcon))

AESNI void AesNiSetKey(AesNiKey* key, const uint8_t bytes[16]) {
  __m128i k[11];
  k[0] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
  EXPAND(1, 0x01);
  EXPAND(2, 0x02);
  EXPAND(3, 0x04);
  EXPAND(4, 0x08);
  EXPAND(5, 0x10);
  EXPAND(6, 0x20);
  EXPAND(7, 0x40);
  EXPAND(8, 0x80);
  EXPAND(9, 0x1b);
  EXPAND(10, 0x36);
  // Unaligned stores: the key may live in memory the caller aligned less well.
  auto* enc = reinterpret_cast<__m128i*>(key->enc);
  auto* dec = reinterpret_cast<__m128i*>(key->dec);
  for (int i = 0; i < 11; ++i) _mm_storeu_si128(enc + i, k[i]);
  // Decryption walks the schedule backwards through InvMixColumns.
  _mm_storeu_si128(dec, k[10]);
  for (int i = 1; i < 10; ++i) _mm_storeu_si128(dec + i, _mm_aesimc_si128(k[10 - i]));
  _mm_storeu_si128(dec + 10, k[0]);
  // No copy of the round keys stays behind on the stack, nor in the registers.
  Wipe(k, sizeof k);
  ClearSseRegisters();
}

AESNI void AesNiEncryptBlock(const AesNiKey* key, const uint8_t in[16], uint8_t out[16]) {
  __m128i x =
      _mm_xor_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in)), RoundKey(key->enc, 0));
  for (int r = 1; r < 10; ++r) x = _mm_aesenc_si128(x, RoundKey(key->enc, r));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out),
                   _mm_aesenclast_si128(x, RoundKey(key->enc, 10)));
  ClearSseRegisters();
}

void AesNiXtsEncrypt(const AesNiKey* data, const AesNiKey* tweak, uint64_t unit, const uint8_t* in,
                     uint8_t* out, size_t bytes) {
  Xts<true>(data, tweak, unit, in, out, bytes);
}

void AesNiXtsDecrypt(const AesNiKey* data, const AesNiKey* tweak, uint64_t unit, const uint8_t* in,
                     uint8_t* out, size_t bytes) {
  Xts<false>(data, tweak, unit, in, out, bytes);
}
