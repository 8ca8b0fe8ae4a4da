// The AVX2 width of aes_vaes.h; this file alone is built for AVX2 and VAES.
#include <immintrin.h>

#include "aes_vaes.h"
#include "clear_registers.h"

namespace {

struct Ymm {
  using V = __m256i;
  static constexpr int kLanes = 2;
  static V Load(const uint8_t* p) { return _mm256_loadu_si256(reinterpret_cast<const V*>(p)); }
  static void Store(uint8_t* p, V v) { _mm256_storeu_si256(reinterpret_cast<V*>(p), v); }
  static V Broadcast(const uint8_t* p) {
    return _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
  }
  static V Xor(V a, V b) { return _mm256_xor_si256(a, b); }
  static V Enc(V x, V k) { return _mm256_aesenc_epi128(x, k); }
  static V EncLast(V x, V k) { return _mm256_aesenclast_epi128(x, k); }
  static V Dec(V x, V k) { return _mm256_aesdec_epi128(x, k); }
  static V DecLast(V x, V k) { return _mm256_aesdeclast_epi128(x, k); }
  static V SwapHalves(V x) { return _mm256_shuffle_epi32(x, 0x4e); }
  // t times x^k: the bits leaving the low half enter the high one; those leaving the
  // high half come back reduced (x^128 = x^7 + x^2 + x + 1).
  static V Times(V t, V swapped, V k, V rest) {
    const V out = _mm256_srlv_epi64(swapped, rest);  // low halves: the high ones' bits
    const V carried = _mm256_blend_epi32(_mm256_setzero_si256(), out, 0xcc);
    const V reduced = _mm256_clmulepi64_epi128(out, _mm256_set1_epi64x(0x87), 0);
    return _mm256_xor_si256(_mm256_xor_si256(_mm256_sllv_epi64(t, k), carried), reduced);
  }
  static V Ramp(long long from, long long by) {
    return _mm256_set_epi64x(from + by, from + by, from, from);
  }
  static V Splat(long long n) { return _mm256_set1_epi64x(n); }
  static V Units(uint64_t u) {
    const long long n = static_cast<long long>(u);
    return _mm256_set_epi64x(0, n + 1, 0, n);
  }
};

#include "aes_vaes_body.h"

}  // namespace

void Vaes256Xts(bool encrypt, const AesNiKey* data, const AesNiKey* tweak, uint64_t firstUnit,
                const uint8_t* in, uint8_t* out, size_t unitBytes, size_t units) {
  Run<Ymm>(encrypt, data, tweak, firstUnit, in, out, unitBytes, units);
  ClearAvxRegisters();
}
