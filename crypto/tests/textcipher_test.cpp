#include "textcipher.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

const char kGuard = '\x5a';

struct Buffer {
  char bytes[128];
  Buffer() { std::memset(bytes, kGuard, sizeof bytes); }
  // Everything from `from` on is still the guard byte.
  bool UntouchedFrom(size_t from) const {
    for (size_t i = from; i < sizeof bytes; ++i)
      if (bytes[i] != kGuard) return false;
    return true;
  }
};

std::string Wrap(const char* plain, const char* key) {
  Buffer out;
  EXPECT_EQ(EncryptToB64(plain, key, out.bytes), 0);
  EXPECT_EQ(std::strlen(out.bytes), 24u);
  EXPECT_TRUE(out.UntouchedFrom(25));
  return out.bytes;
}

std::string Unwrap(const char* b64, const char* key) {
  Buffer out;
  EXPECT_EQ(DecryptFromB64(b64, key, out.bytes), 0);
  EXPECT_TRUE(out.UntouchedFrom(16));
  return std::string(out.bytes, 16);
}

}  // namespace

TEST(TextCipher, KnownAnswersAndKeyForming) {
  // AES-128 of "Sorvane disk key" under "password" and under the all-zero key.
  EXPECT_EQ(Wrap("Sorvane disk key", "password"), "QUfJ/ZNh9pM31rLlkzCK0w==");
  EXPECT_EQ(Wrap("Sorvane disk key", ""), "sDYQFCsoI5GN3B3gCbOLIA==");
  EXPECT_EQ(Wrap("Sorvane disk key", nullptr), "sDYQFCsoI5GN3B3gCbOLIA==");
  // Only the first 16 bytes of key and plain text count.
  EXPECT_EQ(Wrap("Sorvane disk key and more", "password"), "QUfJ/ZNh9pM31rLlkzCK0w==");
  EXPECT_EQ(Wrap("p", "0123456789abcdefXYZ"), Wrap("p", "0123456789abcdef"));
  EXPECT_NE(Wrap("p", "0123456789abcdeX"), Wrap("p", "0123456789abcdef"));
}

TEST(TextCipher, UnwrapGivesTheFirstSixteenBytesBack) {
  const char* keys[] = {"", "password", ("\xc3\xdc\xc2\xeb" "123"), "a very long password indeed"};
  const char* plains[] = {"", "x", "fifteen chars!!", "AAAAAAAAAAAAAAAAAAAAAA==",
                          "\x80\xff\x01 high bytes and a long tail"};
  for (const char* key : keys) {
    for (const char* plain : plains) {
      std::string expected(plain, std::min<size_t>(std::strlen(plain), 16));
      expected.resize(16, '\0');
      EXPECT_EQ(Unwrap(Wrap(plain, key).c_str(), key), expected) << plain << " / " << key;
    }
  }
  // A wrong key is not detected: 16 other bytes.
  EXPECT_NE(Unwrap(Wrap("secret", "right").c_str(), "wrong"), Unwrap(Wrap("secret", "right").c_str(), "right"));
}

TEST(TextCipher, DamagedOrShortTextsStayInTheBlock) {
  std::string zeroBlock = Unwrap("AAAAAAAAAAAAAAAAAAAAAA==", "k");
  EXPECT_EQ(Unwrap("", "k"), zeroBlock);
  EXPECT_EQ(Unwrap("QUf", "k"), zeroBlock);
  EXPECT_EQ(Unwrap(nullptr, "k"), zeroBlock);
  // Longer than one block: only the first 16 decoded bytes are used.
  std::string wrapped = Wrap("payload", "k");
  std::string longer = wrapped.substr(0, 22) + "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA";
  EXPECT_EQ(Unwrap(longer.c_str(), "k"), Unwrap(wrapped.c_str(), "k"));
  std::string garbage(300, '\xff');
  Unwrap(garbage.c_str(), "k");
}

TEST(TextCipher, HashAsUpperCaseHex) {
  Buffer out;
  EXPECT_EQ(Sha256ToHex("", out.bytes), 0);
  EXPECT_STREQ(out.bytes, "E3B0C44298FC1C149AFBF4C8996FB92427AE41E4649B934CA495991B7852B855");
  EXPECT_TRUE(out.UntouchedFrom(65));
  Sha256ToHex("abc", out.bytes);
  EXPECT_STREQ(out.bytes, "BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD");
}
