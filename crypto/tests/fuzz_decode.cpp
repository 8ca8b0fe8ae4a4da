// libFuzzer target: the Base64 decoder and the unwrap path on arbitrary text.
// The first byte picks the decoder's room; the rest up to a 0 byte is the
// Base64 text, the remainder the key text. Buffers are sized exactly, so ASan
// reports any byte written past them.
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base64.h"
#include "textcipher.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  std::string input(reinterpret_cast<const char*>(data + 1), size - 1);
  size_t split = input.find('\0');
  std::string text = input.substr(0, split);
  std::string key = split == std::string::npos ? "" : input.substr(split + 1);

  size_t count = data[0] % 40;
  std::vector<uint8_t> bytes(count);
  size_t written = Base64Decode(text.c_str(), bytes.data(), &count);
  if (written != count || count > bytes.size()) std::abort();
  // What was decoded encodes and decodes back to the same bytes.
  std::string again(4 * (count / 3 + 1) + 1, '\0');
  Base64Encode(bytes.data(), count, again.data());
  std::vector<uint8_t> back(count);
  size_t backCount = count;
  Base64Decode(again.c_str(), back.data(), &backCount);
  if (backCount != count || (count && std::memcmp(bytes.data(), back.data(), count) != 0))
    std::abort();

  std::vector<char> plain(16), wrapped(25);
  DecryptFromB64(text.c_str(), key.c_str(), plain.data());
  EncryptToB64(plain.data(), key.c_str(), wrapped.data());
  return 0;
}
