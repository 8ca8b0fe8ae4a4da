#include "xts.h"

#include "aes_vaes.h"
#include "sha256.h"
#include "vector_state.h"
#include "wipebytes.h"

namespace {

void MultiplyByX(uint8_t t[16]) {
  uint8_t carry = 0;
  for (int i = 0; i < 16; ++i) {
    uint8_t next = t[i] >> 7;
    t[i] = static_cast<uint8_t>((t[i] << 1) | carry);
    carry = next;
  }
  if (carry) t[0] ^= 0x87;
}

template <bool Encrypt>
void TableXts(const XtsKey* key, uint64_t unit, const uint8_t* in, uint8_t* out, size_t bytes) {
  uint8_t t[16] = {};
  for (int i = 0; i < 8; ++i) t[i] = static_cast<uint8_t>(unit >> (8 * i));
  AesEncryptBlock(&key->tweak, t, t);
  uint8_t x[16];
  for (size_t done = 0; done + 16 <= bytes; done += 16) {
    for (int i = 0; i < 16; ++i) x[i] = in[done + i] ^ t[i];
    if (Encrypt)
      AesEncryptBlock(&key->data, x, x);
    else
      AesDecryptBlock(&key->data, x, x);
    for (int i = 0; i < 16; ++i) out[done + i] = x[i] ^ t[i];
    MultiplyByX(t);
  }
}

// The instruction paths keep their round keys in registers, and spill some of them to
// the stack. What a call leaves there the thread's next calls find, and a kernel
// thread's stack may be paged out while it waits: the cipher's frames are wiped after
// it, deeper than the deepest of them (about 3 KiB).
__attribute__((noinline)) void WipeStackBelow() {
  volatile uint64_t area[512];
  for (auto& word : area) word = 0;
}

// units data units of unitBytes each, numbered from firstUnit on.
template <bool Encrypt>
void Cipher(const XtsKey* key, uint64_t firstUnit, const uint8_t* in, uint8_t* out,
            size_t unitBytes, size_t units) {
  if (key->path >= XtsPath::Vaes256) {
    VectorState state;
    if (SaveVectorState(&state)) {
      (key->path == XtsPath::Vaes512 ? Vaes512Xts : Vaes256Xts)(
          Encrypt, &key->niData, &key->niTweak, firstUnit, in, out, unitBytes, units);
      RestoreVectorState(&state);
      return;
    }
  }
  for (size_t i = 0; i < units; ++i, in += unitBytes, out += unitBytes) {
    if (key->path == XtsPath::Tables)
      TableXts<Encrypt>(key, firstUnit + i, in, out, unitBytes);
    else
      (Encrypt ? AesNiXtsEncrypt : AesNiXtsDecrypt)(&key->niData, &key->niTweak, firstUnit + i, in,
                                                    out, unitBytes);
  }
}

template <bool Encrypt>
void Units(const XtsKey* key, uint64_t firstUnit, const uint8_t* in, uint8_t* out, size_t unitBytes,
           size_t units) {
  Cipher<Encrypt>(key, firstUnit, in, out, unitBytes, units);
  WipeStackBelow();
}

}  // namespace

bool XtsPathAvailable(XtsPath path) {
  switch (path) {
    case XtsPath::Tables:
      return true;
    case XtsPath::AesNi:
      return AesNiAvailable();
    case XtsPath::Vaes256:
      return VaesAvailable(VaesWidth::Bits256) && VectorStateSavable();
    case XtsPath::Vaes512:
      return VaesAvailable(VaesWidth::Bits512) && VectorStateSavable();
  }
  return false;
}

void XtsSetKey(XtsKey* key, const uint8_t key1[16], const uint8_t key2[16], XtsPath fastest) {
  XtsPath path = fastest;
  while (path != XtsPath::Tables && !XtsPathAvailable(path))
    path = static_cast<XtsPath>(static_cast<uint8_t>(path) - 1);
  key->path = path;
  if (path == XtsPath::Tables) {
    AesSetKey(&key->data, key1, 16, 0);
    AesSetKey(&key->tweak, key2, 16, 1);
  } else {
    AesNiSetKey(&key->niData, key1);
    AesNiSetKey(&key->niTweak, key2);
  }
}

void XtsSetDiskKey(XtsKey* key, const uint8_t key1[16], bool allowAesNi) {
  uint8_t digest[32];
  Sha256Digest(digest, key1, 16);
  XtsSetKey(key, key1, digest, allowAesNi);
  Wipe(digest, sizeof digest);
}

void XtsClear(XtsKey* key) { Wipe(key, sizeof *key); }

void XtsEncrypt(const XtsKey* key, uint64_t unit, const uint8_t* in, uint8_t* out, size_t bytes) {
  Units<true>(key, unit, in, out, bytes, 1);
}

void XtsDecrypt(const XtsKey* key, uint64_t unit, const uint8_t* in, uint8_t* out, size_t bytes) {
  Units<false>(key, unit, in, out, bytes, 1);
}

void XtsEncryptSectors(const XtsKey* key, uint64_t firstSector, const uint8_t* in, uint8_t* out,
                       size_t sectors) {
  Units<true>(key, firstSector, in, out, 512, sectors);
}

void XtsDecryptSectors(const XtsKey* key, uint64_t firstSector, const uint8_t* in, uint8_t* out,
                       size_t sectors) {
  Units<false>(key, firstSector, in, out, 512, sectors);
}
