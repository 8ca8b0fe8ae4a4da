#include "xts.h"

#include "sha256.h"

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

void Wipe(void* p, size_t n) {
  volatile uint8_t* bytes = static_cast<volatile uint8_t*>(p);
  while (n--) *bytes++ = 0;
}

}  // namespace

void XtsSetKey(XtsKey* key, const uint8_t key1[16], const uint8_t key2[16], bool allowAesNi) {
  key->useAesNi = allowAesNi && AesNiAvailable();
  if (key->useAesNi) {
    AesNiSetKey(&key->niData, key1);
    AesNiSetKey(&key->niTweak, key2);
  } else {
    AesSetKey(&key->data, key1, 16, 0);
    AesSetKey(&key->tweak, key2, 16, 1);
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
  if (key->useAesNi)
    AesNiXtsEncrypt(&key->niData, &key->niTweak, unit, in, out, bytes);
  else
    TableXts<true>(key, unit, in, out, bytes);
}

void XtsDecrypt(const XtsKey* key, uint64_t unit, const uint8_t* in, uint8_t* out, size_t bytes) {
  if (key->useAesNi)
    AesNiXtsDecrypt(&key->niData, &key->niTweak, unit, in, out, bytes);
  else
    TableXts<false>(key, unit, in, out, bytes);
}

void XtsEncryptSectors(const XtsKey* key, uint64_t firstSector, const uint8_t* in, uint8_t* out,
                       size_t sectors) {
  for (size_t i = 0; i < sectors; ++i)
    XtsEncrypt(key, firstSector + i, in + 512 * i, out + 512 * i, 512);
}

void XtsDecryptSectors(const XtsKey* key, uint64_t firstSector, const uint8_t* in, uint8_t* out,
                       size_t sectors) {
  for (size_t i = 0; i < sectors; ++i)
    XtsDecrypt(key, firstSector + i, in + 512 * i, out + 512 * i, 512);
}
