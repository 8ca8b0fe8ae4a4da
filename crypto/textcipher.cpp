#include "textcipher.h"

#include "aes.h"
#include "base64.h"
#include "sha256.h"
#include "wipebytes.h"

void FormBlock(const char* text, uint8_t block[16]) {
  int i = 0;
  for (; text && i < 16 && text[i]; ++i) block[i] = static_cast<uint8_t>(text[i]);
  for (; i < 16; ++i) block[i] = 0;
}

namespace {

// The key block (the password's first bytes), its round keys and the unwrapped disk key are
// cleared before the stack is left to others.
void SetKey(AesContext* context, const char* key) {
  uint8_t keyBlock[16];
  FormBlock(key, keyBlock);
  AesSetKey(context, keyBlock, 128, 0);
  Wipe(keyBlock, sizeof keyBlock);
}

}  // namespace

int EncryptToB64(const char* plain, const char* key, char* out) {
  AesContext context;
  SetKey(&context, key);
  uint8_t block[16];
  FormBlock(plain, block);
  AesEncryptBlock(&context, block, block);
  Wipe(&context, sizeof context);
  Base64Encode(block, 16, out);
  return 0;
}

int DecryptFromB64(const char* b64, const char* key, char* out) {
  uint8_t block[16] = {};
  size_t room = sizeof block;
  Base64Decode(b64 ? b64 : "", block, &room);
  AesContext context;
  SetKey(&context, key);
  AesDecryptBlock(&context, block, block);
  Wipe(&context, sizeof context);
  for (int i = 0; i < 16; ++i) out[i] = static_cast<char>(block[i]);
  Wipe(block, sizeof block);
  return 0;
}

int Sha256ToHex(const char* text, char* out) {
  static const char kDigits[] = "0123456789ABCDEF";
  size_t length = 0;
  while (text && text[length]) ++length;
  uint8_t digest[32];
  Sha256Digest(digest, text, length);
  for (int i = 0; i < 32; ++i) {
    out[2 * i] = kDigits[digest[i] >> 4];
    out[2 * i + 1] = kDigits[digest[i] & 15];
  }
  out[64] = 0;
  return 0;
}
