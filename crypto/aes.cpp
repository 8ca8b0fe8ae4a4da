#include "aes.h"

namespace {

// The tables follow from the field arithmetic and are built by the compiler,
// so they sit in read-only data and need no start-up code.
struct AesTables {
  uint8_t sbox[256];
  uint8_t invSbox[256];
  uint32_t te[4][256];  // S-box with MixColumns folded in, one rotation each
  uint32_t td[4][256];  // inverse S-box with InvMixColumns folded in
};

constexpr uint8_t Times2(uint8_t x) {
  return static_cast<uint8_t>((x << 1) ^ ((x & 0x80) ? 0x1b : 0));
}

constexpr uint8_t Multiply(uint8_t a, uint8_t b) {
  uint8_t product = 0;
  while (b) {
    if (b & 1) product ^= a;
    a = Times2(a);
    b >>= 1;
  }
  return product;
}

constexpr uint32_t Word(uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3) {
  return (uint32_t(b0) << 24) | (uint32_t(b1) << 16) | (uint32_t(b2) << 8) | b3;
}

constexpr uint32_t RotateRight8(uint32_t w) { return (w >> 8) | (w << 24); }

constexpr AesTables MakeTables() {
  AesTables t{};
  // Powers and logarithms of the generator 3 give the multiplicative inverse.
  uint8_t power[256]{};
  uint8_t log[256]{};
  uint8_t x = 1;
  for (int i = 0; i < 255; ++i) {
    power[i] = x;
    log[x] = static_cast<uint8_t>(i);
    x = static_cast<uint8_t>(x ^ Times2(x));
  }
  for (int i = 0; i < 256; ++i) {
    uint8_t inverse = i ? power[(255 - log[i]) % 255] : 0;
    uint8_t s = inverse;
    for (int r = 1; r < 5; ++r) s ^= static_cast<uint8_t>((inverse << r) | (inverse >> (8 - r)));
    s ^= 0x63;
    t.sbox[i] = s;
    t.invSbox[s] = static_cast<uint8_t>(i);
  }
  for (int i = 0; i < 256; ++i) {
    uint8_t s = t.sbox[i];
    uint8_t v = t.invSbox[i];
    uint32_t e = Word(Times2(s), s, s, static_cast<uint8_t>(Times2(s) ^ s));
    uint32_t d = Word(Multiply(v, 14), Multiply(v, 9), Multiply(v, 13), Multiply(v, 11));
    for (int k = 0; k < 4; ++k) {
      t.te[k][i] = e;
      t.td[k][i] = d;
      e = RotateRight8(e);
      d = RotateRight8(d);
    }
  }
  return t;
}

constexpr AesTables kTables = MakeTables();

constexpr uint32_t kRoundConstants[10] = {0x01000000, 0x02000000, 0x04000000, 0x08000000,
                                          0x10000000, 0x20000000, 0x40000000, 0x80000000,
                                          0x1b000000, 0x36000000};

inline uint32_t Load(const uint8_t* p) { return Word(p[0], p[1], p[2], p[3]); }

inline void Store(uint32_t w, uint8_t* p) {
  p[0] = uint8_t(w >> 24);
  p[1] = uint8_t(w >> 16);
  p[2] = uint8_t(w >> 8);
  p[3] = uint8_t(w);
}

inline uint32_t SubWord(uint32_t w) {
  const uint8_t* s = kTables.sbox;
  return Word(s[w >> 24], s[(w >> 16) & 0xff], s[(w >> 8) & 0xff], s[w & 0xff]);
}

inline uint32_t InvMixColumn(uint32_t w) {
  // td holds InvMixColumns of the inverse S-box; undo the inverse S-box first.
  const uint8_t* s = kTables.sbox;
  return kTables.td[0][s[w >> 24]] ^ kTables.td[1][s[(w >> 16) & 0xff]] ^
         kTables.td[2][s[(w >> 8) & 0xff]] ^ kTables.td[3][s[w & 0xff]];
}

// The rounds of both directions: the inverse cipher reads the state columns
// in the opposite order (step 3 instead of 1).
template <int step>
void RunRounds(const uint32_t* rk, uint32_t nr, const uint32_t (*table)[256], const uint8_t* box,
               const uint8_t* in, uint8_t* out) {
  uint32_t s[4], t[4];
  for (int j = 0; j < 4; ++j) s[j] = Load(in + 4 * j) ^ rk[j];
  for (uint32_t round = 1; round < nr; ++round) {
    rk += 4;
    for (int j = 0; j < 4; ++j)
      t[j] = table[0][s[j] >> 24] ^ table[1][(s[(j + step) % 4] >> 16) & 0xff] ^
             table[2][(s[(j + 2 * step) % 4] >> 8) & 0xff] ^
             table[3][s[(j + 3 * step) % 4] & 0xff] ^ rk[j];
    for (int j = 0; j < 4; ++j) s[j] = t[j];
  }
  rk += 4;
  for (int j = 0; j < 4; ++j)
    Store(Word(box[s[j] >> 24], box[(s[(j + step) % 4] >> 16) & 0xff],
               box[(s[(j + 2 * step) % 4] >> 8) & 0xff], box[s[(j + 3 * step) % 4] & 0xff]) ^
              rk[j],
          out + 4 * j);
}

}  // namespace

void AesSetKey(AesContext* context, const uint8_t* key, int keyLength, int encryptOnly) {
  uint32_t nk = 4;
  if (keyLength == 24 || keyLength == 192) nk = 6;
  if (keyLength == 32 || keyLength == 256) nk = 8;
  uint32_t nr = nk + 6;
  uint32_t total = 4 * (nr + 1);
  context->nk = nk;
  context->nr = nr;

  uint32_t* w = context->encKeys;
  for (uint32_t i = 0; i < nk; ++i) w[i] = Load(key + 4 * i);
  for (uint32_t i = nk; i < total; ++i) {
    uint32_t temp = w[i - 1];
    if (i % nk == 0)
      temp = SubWord((temp << 8) | (temp >> 24)) ^ kRoundConstants[i / nk - 1];
    else if (nk > 6 && i % nk == 4)
      temp = SubWord(temp);
    w[i] = w[i - nk] ^ temp;
  }
  if (encryptOnly) return;

  // Equivalent inverse cipher: round keys reversed, the middle ones through InvMixColumns.
  uint32_t* dk = context->decKeys;
  for (uint32_t round = 0; round <= nr; ++round) {
    const uint32_t* from = w + 4 * (nr - round);
    bool middle = round != 0 && round != nr;
    for (int j = 0; j < 4; ++j) dk[4 * round + j] = middle ? InvMixColumn(from[j]) : from[j];
  }
}

void AesEncryptBlock(const AesContext* context, const uint8_t* in, uint8_t* out) {
  RunRounds<1>(context->encKeys, context->nr, kTables.te, kTables.sbox, in, out);
}

void AesDecryptBlock(const AesContext* context, const uint8_t* in, uint8_t* out) {
  RunRounds<3>(context->decKeys, context->nr, kTables.td, kTables.invSbox, in, out);
}
