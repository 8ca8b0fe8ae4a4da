// SorvCrypt.dll: the exported names, undecorated through SorvCrypt.def.
#include <windows.h>

#include "base64.h"
#include "random.h"
#include "textcipher.h"

extern "C" {

int __stdcall AESEncryptB64(const char* plain, const char* key, char* out) {
  if (!out) return -1;
  return EncryptToB64(plain, key, out);
}

int __stdcall AESDecryptB64(const char* b64, const char* key, char* out) {
  if (!out) return -1;
  return DecryptFromB64(b64, key, out);
}

int __stdcall GenRandomB64(char* out) {
  uint8_t key[16];
  if (!out || GenerateRandomKey(key) != 0) return -1;
  Base64Encode(key, sizeof key, out);
  SecureZeroMemory(key, sizeof key);
  return 0;
}

int __stdcall SHA256Hex(const char* text, char* out) {
  if (!out) return -1;
  return Sha256ToHex(text, out);
}

}  // extern "C"
