// The XTS loop of aes_vaes256.cpp and aes_vaes512.cpp over a register type W: each
// includes this once, built for its own instruction set, inside an unnamed namespace
// so that nothing compiled for one set is shared with the other.
//
// W gives: V; kLanes (blocks a register); Load, Store, Broadcast (one 16-byte block
// into every lane), Xor, Enc, EncLast, Dec, DecLast, SwapHalves (the two 64-bit halves
// of each lane), Times (below), Ramp (lane i holds from + i * by in both halves),
// Splat (n in every half), and Units (lane i holds unit + i).

// x^k in GF(2^128), XTS's little-endian order, for k in 0..63 a lane: the counts k and
// 64 - k of each lane. W::Times(t, swapped, k, rest) multiplies each lane's tweak t by
// it; swapped is t with its halves swapped.
template <class W>
struct Power {
  typename W::V k, rest;
};

inline __m128i Key128(const uint8_t* keys, int round) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(keys + 16 * round));
}

inline __m128i NextTweak128(__m128i t) {
  __m128i carry = _mm_srai_epi32(_mm_shuffle_epi32(t, 0x13), 31);
  carry = _mm_and_si128(carry, _mm_set_epi32(0, 1, 0, 0x87));
  return _mm_xor_si128(_mm_add_epi64(t, t), carry);
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
  // Register i of a group of kRegs takes the tweaks of blocks L * i + lane: each is
  // computed from the group's first tweak on its own, so none waits for another.
  Power<W> reg[kRegs];
  for (int i = 0; i < kRegs; ++i) reg[i] = {W::Ramp(L * i, 1), W::Ramp(64 - L * i, -1)};
  const Power<W> group = {W::Splat(kRegs * L), W::Splat(64 - kRegs * L)};
  alignas(64) uint8_t firsts[2 * 16 * L];  // first tweaks; then a tail's tweaks
  for (size_t u = 0; u < units; ++u) {
    // The first tweaks of L units at once: their numbers through AES with key 2.
    if (u % L == 0) {
      const V t = W::Xor(W::Units(firstUnit + u), tk[0]);
      W::Store(firsts, Rounds<W, true>(t, tk));
    }
    V t = W::Broadcast(firsts + 16 * (u % L)), swapped = W::SwapHalves(t);  // every lane
    size_t blocks = unitBytes / 16;
    for (; blocks >= kRegs * L; blocks -= kRegs * L, in += kRegs * kStep, out += kRegs * kStep) {
      V tw[kRegs], x[kRegs];
#pragma GCC unroll 8
      for (int i = 0; i < kRegs; ++i) {
        tw[i] = W::Times(t, swapped, reg[i].k, reg[i].rest);
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
      if (blocks > kRegs * L) {
        t = W::Times(t, swapped, group.k, group.rest);
        swapped = W::SwapHalves(t);
      }
    }
    int i = 0;
    for (; blocks >= L; blocks -= L, in += kStep, out += kStep, ++i) {
      const V tw = W::Times(t, swapped, reg[i].k, reg[i].rest);
      const V x = W::Xor(W::Xor(W::Load(in), tw), rk[0]);
      W::Store(out, W::Xor(Rounds<W, Encrypt>(x, rk), tw));
    }
    if (blocks == 0) continue;
    // Fewer blocks than lanes left: one at a time, from lane 0's tweak.
    W::Store(firsts + 16 * L, W::Times(t, swapped, reg[i].k, reg[i].rest));
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
