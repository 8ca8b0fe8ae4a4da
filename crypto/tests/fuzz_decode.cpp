// libFuzzer target: the Base64 decoder and the unwrap path on arbitrary text.
// The first input byte picks the decoder's room; the rest up to a 0 byte is the
// Base64 text, the remainder the key text.
#include <cstdlib>
#include <cstring>
#include <string>

#include "base64.h"
#include "textcipher.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  size_t room = data[0] % 40;
  std::string input(reinterpret_cast<const char*>(data + 1), size - 1);
  size_t split = input.find('\0');
  std::string text = input.substr(0, split);
  std::string key = split == std::string::npos ? "" : input.substr(split + 1);

  // Exactly sized heap buffers: ASan reports any byte written past them.
  uint8_t* bytes = static_cast<uint8_t*>(std::malloc(room ? room : 1));
  size_t count = room;
  if (Base64Decode(text.c_str(), bytes, &count) != count || count > room) std::abort();
  // What was decoded encodes and decodes back to the same bytes.
  std::string again(4 * (count / 3 + 1) + 1, '\0');
  Base64Encode(bytes, count, again.data());
  uint8_t* back = static_cast<uint8_t*>(std::malloc(count ? count : 1));
  size_t backCount = count;
  Base64Decode(again.c_str(), back, &backCount);
  if (backCount != count || std::memcmp(bytes, back, count) != 0) std::abort();
  std::free(back);
  std::free(bytes);

  char* plain = static_cast<char*>(std::malloc(16));
  DecryptFromB64(text.c_str(), key.c_str(), plain);
  char* wrapped = static_cast<char*>(std::malloc(25));
  EncryptToB64(plain, key.c_str(), wrapped);
  std::free(wrapped);
  std::free(plain);
  return 0;
}
