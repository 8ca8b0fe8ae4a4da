// The XTS loop of aes_vaes256.cpp and aes_vaes512.cpp over a register type W: each
// includes this once, built for its own instruction set, inside an unnamed namespace
// so that nothing compiled for one set is shared with the other.
//
// W gives: V; kLanes (blocks a register); Load, Store, Broadcast (one 16-byte block
// into every lane), Xor, Enc, EncLast, Dec, DecLast, ShiftLeft/Right (each 64-bit
// half by the counts of a vector), ByteUp8/ByteDown8 (by 8 bytes within each lane),
// Clmul (low halves), Ramp (lane i holds from + i * by in both halves), Splat (n
// in every half), and Units (lane i holds unit + i).

// Multiplies each lane's tweak by x^k in GF(2^128), XTS's little-endian order; k lies in
// 0..63 per lane, given as k and 64 - k.
template <class W>
inline typename W::V TimesXPower(typename W::V t, typename W::V k, typename W::V rest,
                                 typename W::V poly) {
  const typename W::V out = W::ShiftRight(t, rest);  // bits leaving each half
  return W::Xor(W::Xor(W::ShiftLeft(t, k), W::ByteUp8(out)), W::Clmul(W::ByteDown8(out), poly));
}

inline __m128i NextTweak128(__m128i t) {
  __m128i carry = _mm_srai_epi32(_mm_shuffle_epi32(t, 0x13), 31);
  carry = _mm_and_si128(carry, _mm_set_epi32(0, 1, 0, 0x87));
  return _mm_xor_si128(_mm_add_epi64(t, t), carry);
}

inline __m128i Key128(const uint8_t* keys, int round) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(keys + 16 * round));
}

template <class W, bool Encrypt>
inline typename W::V Rounds(typename W::V x, const typename W::V* rk) {
  for (int r = 1; r < 10; ++r) x = Encrypt ? W::Enc(x, rk[r]) : W::Dec(x, rk[r]);
  return Encrypt ? W::EncLast(x, rk[10]) : W::DecLast(x, rk[10]);
}

template <class W, bool Encrypt>
void XtsUnits(const AesNiKey* data, const AesNiKey* tweak, uint64_t firstUnit, const uint8_t* in,
              uint8_t* out, size_t unitBytes, size_t units) {
  using V = typename W::V;
  constexpr int L = W::kLanes, kRegs = 8, kStep = 16 * L;
  const uint8_t* keys = Encrypt ? data->enc : data->dec;
  V rk[11], tk[11];
  for (int r = 0; r < 11; ++r) {
    rk[r] = W::Broadcast(keys + 16 * r);
    tk[r] = W::Broadcast(tweak->enc + 16 * r);
  }
  const V poly = W::Splat(0x87), step = W::Splat(L), stepRest = W::Splat(64 - L);
  const V ramp = W::Ramp(0, 1), rampRest = W::Ramp(64, -1);
  alignas(64) uint8_t firsts[2 * 16 * L];  // first tweaks; then a tail's tweaks
  for (size_t u = 0; u < units; ++u) {
    // The first tweaks of L units at once: their numbers through AES with key 2.
    if (u % L == 0) {
      const V t = W::Xor(W::Units(firstUnit + u), tk[0]);
      W::Store(firsts, Rounds<W, true>(t, tk));
    }
    // Lane i of t: the tweak of block i, then of block i + L, ...
    V t = TimesXPower<W>(W::Broadcast(firsts + 16 * (u % L)), ramp, rampRest, poly);
    size_t blocks = unitBytes / 16;
    for (; blocks >= kRegs * L; blocks -= kRegs * L, in += kRegs * kStep, out += kRegs * kStep) {
      V tw[kRegs], x[kRegs];
#pragma GCC unroll 8
      for (int i = 0; i < kRegs; ++i) {
        tw[i] = t;
        t = TimesXPower<W>(t, step, stepRest, poly);
        x[i] = W::Xor(W::Xor(W::Load(in + i * kStep), tw[i]), rk[0]);
      }
#pragma GCC unroll 9
      for (int r = 1; r < 10; ++r)
#pragma GCC unroll 8
        for (int i = 0; i < kRegs; ++i) x[i] = Encrypt ? W::Enc(x[i], rk[r]) : W::Dec(x[i], rk[r]);
#pragma GCC unroll 8
      for (int i = 0; i < kRegs; ++i) {
        x[i] = Encrypt ? W::EncLast(x[i], rk[10]) : W::DecLast(x[i], rk[10]);
        W::Store(out + i * kStep, W::Xor(x[i], tw[i]));
      }
    }
    for (; blocks >= L; blocks -= L, in += kStep, out += kStep) {
      const V x = W::Xor(W::Xor(W::Load(in), t), rk[0]);
      W::Store(out, W::Xor(Rounds<W, Encrypt>(x, rk), t));
      t = TimesXPower<W>(t, step, stepRest, poly);
    }
    // Fewer blocks than lanes left: one at a time, with lane 0's tweak.
    W::Store(firsts + 16 * L, t);
    __m128i t1 = _mm_load_si128(reinterpret_cast<const __m128i*>(firsts + 16 * L));
    for (; blocks > 0; --blocks, in += 16, out += 16) {
      __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
      x = _mm_xor_si128(_mm_xor_si128(x, t1), Key128(keys, 0));
      for (int r = 1; r < 10; ++r)
        x = Encrypt ? _mm_aesenc_si128(x, Key128(keys, r)) : _mm_aesdec_si128(x, Key128(keys, r));
      x = Encrypt ? _mm_aesenclast_si128(x, Key128(keys, 10))
                  : _mm_aesdeclast_si128(x, Key128(keys, 10));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_xor_si128(x, t1));
      t1 = NextTweak128(t1);
    }
  }
}

template <class W>
void Run(bool encrypt, const AesNiKey* data, const AesNiKey* tweak, uint64_t firstUnit,
         const uint8_t* in, uint8_t* out, size_t unitBytes, size_t units) {
  if (encrypt)
    XtsUnits<W, true>(data, tweak, firstUnit, in, out, unitBytes, units);
  else
    XtsUnits<W, false>(data, tweak, firstUnit, in, out, unitBytes, units);
}
