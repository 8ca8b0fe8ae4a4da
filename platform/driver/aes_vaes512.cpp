// The AVX-512 width of aes_vaes.h; this file alone is built for AVX-512 and VAES.
#include <immintrin.h>

#include "aes_vaes.h"

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
  static V ShiftLeft(V x, V n) { return _mm512_sllv_epi64(x, n); }
  static V ShiftRight(V x, V n) { return _mm512_srlv_epi64(x, n); }
  // Unpacking with zeros moves the halves without AVX-512BW's byte shifts.
  static V ByteUp8(V x) { return _mm512_unpacklo_epi64(_mm512_setzero_si512(), x); }
  static V ByteDown8(V x) { return _mm512_unpackhi_epi64(x, _mm512_setzero_si512()); }
  static V Clmul(V a, V b) { return _mm512_clmulepi64_epi128(a, b, 0x00); }
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
}
