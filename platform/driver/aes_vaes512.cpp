// The AVX-512 width of aes_vaes.h; this file alone is built for AVX-512 and VAES.
#include <immintrin.h>

#include "aes_vaes.h"
#include "clear_registers.h"

namespace {

struct Zmm {
  using V = __m512i;
  static constexpr int kLanes = 4;
  static V Load(const uint8_t* p) { return _mm512_loadu_si512(p); }
  static void Store(uint8_t* p, V v) { _mm512_storeu_si512(p, v); }
  static V Broadcast(const uint8_t* p) {
    return _mm512_broadcast_i32x4(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
  }
  static V Xor(V a, V b) { return _mm512_xor_si512(a, b); }
  static V Enc(V x, V k) { return _mm512_aesenc_epi128(x, k); }
  static V EncLast(V x, V k) { return _mm512_aesenclast_epi128(x, k); }
  static V Dec(V x, V k) { return _mm512_aesdec_epi128(x, k); }
  static V DecLast(V x, V k) { return _mm512_aesdeclast_epi128(x, k); }
  static V SwapHalves(V x) { return _mm512_shuffle_epi32(x, _MM_PERM_BADC); }
  // t times x^k: rotated left by k bits, the bits that came round (times 1) then
  // times the rest of x^7 + x^2 + x + 1.
  static V Times(V t, V swapped, V k, V rest) {
    const V rotated = _mm512_shldv_epi64(t, swapped, k);
    const V out = _mm512_srlv_epi64(swapped, rest);
    return _mm512_xor_si512(rotated, _mm512_clmulepi64_epi128(out, _mm512_set1_epi64(0x86), 0));
  }
  static V Ramp(long long from, long long by) {
    const long long a = from, b = from + by, c = from + 2 * by, d = from + 3 * by;
    return _mm512_set_epi64(d, d, c, c, b, b, a, a);
  }
  static V Splat(long long n) { return _mm512_set1_epi64(n); }
  static V Units(uint64_t u) {
    const long long n = static_cast<long long>(u);
    return _mm512_set_epi64(0, n + 3, 0, n + 2, 0, n + 1, 0, n);
  }
};

#include "aes_vaes_body.h"

}  // namespace

void Vaes512Xts(bool encrypt, const AesNiKey* data, const AesNiKey* tweak, uint64_t firstUnit,
                const uint8_t* in, uint8_t* out, size_t unitBytes, size_t units) {
  Run<Zmm>(encrypt, data, tweak, firstUnit, in, out, unitBytes, units);
  ClearAvx512Registers();
}
