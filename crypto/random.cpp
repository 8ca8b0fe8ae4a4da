#include "random.h"

#include <windows.h>
#include <wincrypt.h>

int GenerateRandomKey(uint8_t bytes[16]) {
  HCRYPTPROV provider = 0;
  if (!CryptAcquireContextA(&provider, nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT))
    return -1;
  BYTE buffer[16] = {};
  bool generated = CryptGenRandom(provider, sizeof buffer, buffer) != FALSE;
  bool released = CryptReleaseContext(provider, 0) != FALSE;
  if (!generated || !released) {
    SecureZeroMemory(buffer, sizeof buffer);
    return -1;
  }
  for (int i = 0; i < 16; ++i) bytes[i] = buffer[i];
  SecureZeroMemory(buffer, sizeof buffer);
  return 0;
}
