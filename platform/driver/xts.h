// XTS-AES-128 (IEEE 1619) over whole 16-byte blocks: the disk's sector cipher.
// Uses the AES instructions when asked and present, else the table-driven AES.
// Freestanding, for the driver and its tests alike.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "aes.h"
#include "aes_ni.h"

struct XtsKey {
  AesContext data;
  AesContext tweak;
  AesNiKey niData;
  AesNiKey niTweak;
  bool useAesNi;
};

void XtsSetKey(XtsKey* key, const uint8_t key1[16], const uint8_t key2[16], bool allowAesNi);
// The disk's key: key 2 is the first 16 bytes of SHA-256 of key 1.
void XtsSetDiskKey(XtsKey* key, const uint8_t key1[16], bool allowAesNi);
// Wipes the key material.
void XtsClear(XtsKey* key);

// One data unit; bytes is a multiple of 16. in and out may be the same buffer.
void XtsEncrypt(const XtsKey* key, uint64_t unit, const uint8_t* in, uint8_t* out, size_t bytes);
void XtsDecrypt(const XtsKey* key, uint64_t unit, const uint8_t* in, uint8_t* out, size_t bytes);

// Consecutive 512-byte sectors, the first numbered firstSector.
void XtsEncryptSectors(const XtsKey* key, uint64_t firstSector, const uint8_t* in, uint8_t* out,
                       size_t sectors);
void XtsDecryptSectors(const XtsKey* key, uint64_t firstSector, const uint8_t* in, uint8_t* out,
                       size_t sectors);
