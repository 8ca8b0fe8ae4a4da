// The library's text-in, text-out operations, independent of the export layer.
// Output sizes are fixed, the caller's buffer has no length: see each function.
#pragma once

#include <stdint.h>

// The first 16 bytes of a NUL-terminated text, zero-padded: the form of both
// the AES key and the plain block. A null text is the empty text.
void FormBlock(const char* text, uint8_t block[16]);

// AES-128 of the plain block under the key block, as 24 Base64 characters and
// a NUL (25 bytes written). Returns 0.
int EncryptToB64(const char* plain, const char* key, char* out);

// The first 16 decoded bytes of b64 (zero-completed) decrypted under the key
// block; writes exactly 16 bytes and no terminator. Returns 0.
int DecryptFromB64(const char* b64, const char* key, char* out);

// SHA-256 of the text as 64 upper-case hex digits and a NUL (65 bytes). Returns 0.
int Sha256ToHex(const char* text, char* out);
