// The key and hash texts as the programs reach them: through SorvCrypt.dll,
// loaded by name, on Windows; the same code linked directly on the host.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>

#ifdef _WIN32
#include <windows.h>

#include "library.h"
#define SORV_CALL __stdcall
#else
#include "textcipher.h"
#define SORV_CALL
#endif

namespace {

using TextTextOut = int(SORV_CALL*)(const char*, const char*, char*);
using TextOut = int(SORV_CALL*)(const char*, char*);

#ifdef _WIN32
const Library library("SorvCrypt.dll");
const auto encrypt = library.Bind<TextTextOut>("AESEncryptB64");
const auto decrypt = library.Bind<TextTextOut>("AESDecryptB64");
const auto hashHex = library.Bind<TextOut>("SHA256Hex");
#else
const TextTextOut encrypt = EncryptToB64;
const TextTextOut decrypt = DecryptFromB64;
const TextOut hashHex = Sha256ToHex;
#endif

// Runs call on a 128-byte guarded buffer; returns the first `size` bytes and
// fails if any byte after them was written.
template <typename Call>
std::string Guarded(size_t size, Call call) {
  char bytes[128];
  std::memset(bytes, 0x5a, sizeof bytes);
  EXPECT_EQ(call(bytes), 0);
  for (size_t i = size; i < sizeof bytes; ++i) EXPECT_EQ(bytes[i], 0x5a) << "byte " << i;
  return std::string(bytes, size);
}

std::string Wrap(const char* plain, const char* key) {
  std::string text = Guarded(25, [&](char* out) { return encrypt(plain, key, out); });
  EXPECT_EQ(text.back(), '\0');
  return text.substr(0, 24);
}

std::string Unwrap(const char* b64, const char* key) {
  return Guarded(16, [&](char* out) { return decrypt(b64, key, out); });
}

}  // namespace

TEST(TextCipher, KnownAnswersAndKeyForming) {
  ASSERT_TRUE(encrypt && decrypt && hashHex);
  // AES-128 of "Sorvane disk key" under "password" and under the all-zero key;
  // only the first 16 bytes of key and plain text count.
  EXPECT_EQ(Wrap("Sorvane disk key", "password"), "QUfJ/ZNh9pM31rLlkzCK0w==");
  EXPECT_EQ(Wrap("Sorvane disk key and more", "password"), "QUfJ/ZNh9pM31rLlkzCK0w==");
  EXPECT_EQ(Wrap("Sorvane disk key", ""), "sDYQFCsoI5GN3B3gCbOLIA==");
  EXPECT_EQ(Wrap("Sorvane disk key", nullptr), "sDYQFCsoI5GN3B3gCbOLIA==");
  EXPECT_EQ(Wrap("p", "0123456789abcdefXYZ"), Wrap("p", "0123456789abcdef"));
  EXPECT_EQ(Guarded(65, [](char* out) { return hashHex("abc", out); }),
            std::string("BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD", 65));
}

TEST(TextCipher, UnwrapGivesTheFirstSixteenBytesBack) {
  ASSERT_TRUE(encrypt && decrypt);
  // Passwords include an ANSI (code page 936) one; plain texts a 24-character disk key.
  for (const char* key : {"", "12345678",
                          "\xc3\xdc\xc2\xeb"
                          "123",
                          "a long password indeed"}) {
    for (const char* plain :
         {"", "x", "q3Zr9Xc1LmP0aB7dEf2GhQ==", "\x80\xff\x01 and a long tail"}) {
      SCOPED_TRACE(std::string(plain) + " / " + key);
      std::string expected(plain, std::min<size_t>(std::strlen(plain), 16));
      expected.resize(16, '\0');
      EXPECT_EQ(Unwrap(Wrap(plain, key).c_str(), key), expected);
    }
  }
}

// A damaged text never takes the output past its 16 bytes: a short one is
// zero-completed, a long one cut after its first block.
TEST(TextCipher, DamagedTextsStayInTheBlock) {
  ASSERT_TRUE(encrypt && decrypt);
  const std::string zeroBlock = Unwrap("AAAAAAAAAAAAAAAAAAAAAA==", "k");
  for (const char* shortText : {"", "QUf", static_cast<const char*>(nullptr)})
    EXPECT_EQ(Unwrap(shortText, "k"), zeroBlock);
  const std::string wrapped = Wrap("payload", "k");
  const std::string longer = wrapped.substr(0, 22) + std::string(50, 'A');
  EXPECT_EQ(Unwrap(longer.c_str(), "k"), Unwrap(wrapped.c_str(), "k"));
  Unwrap(std::string(300, '\xff').c_str(), "k");
}

#ifdef _WIN32
TEST(TextCipher, RandomKeysAreTwentyFourCharacters) {
  const auto randomKey = library.Bind<int(__stdcall*)(char*)>("GenRandomB64");
  ASSERT_TRUE(randomKey);
  std::set<std::string> seen;
  for (int i = 0; i < 300; ++i) {
    std::string key = Guarded(25, randomKey);
    EXPECT_EQ(key.substr(22), std::string("==\0", 3));
    EXPECT_NE(std::string("AQgw").find(key[21]), std::string::npos) << key;
    EXPECT_EQ(
        key.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/="),
        24u);
    seen.insert(key);
  }
  EXPECT_EQ(seen.size(), 300u);
}
#endif
