// XTS-AES-128 (IEEE 1619) over whole 16-byte blocks: the disk's sector cipher.
// Uses the vector AES instructions, else the AES instructions, when asked and present,
// else the table-driven AES. Freestanding, for the driver and its tests alike.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "aes.h"
#include "aes_ni.h"

// Slowest first.
enum class XtsPath : uint8_t { Tables, AesNi, Vaes256, Vaes512 };

struct XtsKey {
  AesContext data;
  AesContext tweak;
  AesNiKey niData;  // the instruction paths' schedules
  AesNiKey niTweak;
  XtsPath path;
};

// Whether this processor (and, in the driver, the kernel) can take the path.
bool XtsPathAvailable(XtsPath path);

// Keys for the fastest available path up to fastest.
void XtsSetKey(XtsKey* key, const uint8_t key1[16], const uint8_t key2[16], XtsPath fastest);
// allowInstructions: the fastest path there is, else the tables.
inline void XtsSetKey(XtsKey* key, const uint8_t key1[16], const uint8_t key2[16],
                      bool allowInstructions) {
  XtsSetKey(key, key1, key2, allowInstructions ? XtsPath::Vaes512 : XtsPath::Tables);
}
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
