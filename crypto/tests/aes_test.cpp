#include "aes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "hex.h"

namespace {

std::string Cipher(bool encrypt, const std::string& keyHex, int keyLength, const std::string& inHex) {
  auto key = FromHex(keyHex);
  auto in = FromHex(inHex);
  AesContext context;
  AesSetKey(&context, key.data(), keyLength, encrypt);
  uint8_t out[16];
  if (encrypt)
    AesEncryptBlock(&context, in.data(), out);
  else
    AesDecryptBlock(&context, in.data(), out);
  return ToHex(out, 16);
}

const char kPlain[] = "00112233445566778899aabbccddeeff";

}  // namespace

TEST(Aes, PublishedExamplesForAllKeySizes) {
  struct Case {
    const char* key;
    int bits;
    const char* cipher;
  } cases[] = {
      {"000102030405060708090a0b0c0d0e0f", 128, "69c4e0d86a7b0430d8cdb78070b4c55a"},
      {"000102030405060708090a0b0c0d0e0f1011121314151617", 192, "dda97ca4864cdfe06eaf70a0ec0d7191"},
      {"000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f", 256,
       "8ea2b7ca516745bfeafc49904b496089"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bits);
    EXPECT_EQ(Cipher(true, c.key, c.bits, kPlain), c.cipher);
    EXPECT_EQ(Cipher(false, c.key, c.bits, c.cipher), kPlain);
    EXPECT_EQ(Cipher(true, c.key, c.bits / 8, kPlain), c.cipher);
  }
}

TEST(Aes, KeyLengthInBytesOrBitsAndDefaultTo128) {
  uint8_t key[32];
  for (int i = 0; i < 32; ++i) key[i] = static_cast<uint8_t>(i * 37 + 5);
  auto schedule = [&](int keyLength) {
    AesContext context;
    std::memset(&context, 0xcc, sizeof context);
    AesSetKey(&context, key, keyLength, 0);
    return context;
  };
  const int pairs[][2] = {{16, 128}, {24, 192}, {32, 256}, {0, 128}, {100, 128}, {-1, 128}};
  for (const auto& pair : pairs) {
    SCOPED_TRACE(pair[0]);
    AesContext a = schedule(pair[0]);
    AesContext b = schedule(pair[1]);
    EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0);
  }
  EXPECT_EQ(schedule(16).nr, 10u);
  EXPECT_EQ(schedule(24).nr, 12u);
  EXPECT_EQ(schedule(256).nr, 14u);
  EXPECT_EQ(schedule(256).nk, 8u);
}

TEST(Aes, DecryptInvertsEncryptAlsoInPlace) {
  std::mt19937 random(7);
  for (int keyLength : {128, 192, 256}) {
    for (int n = 0; n < 200; ++n) {
      uint8_t key[32], block[16], work[16];
      for (auto& b : key) b = static_cast<uint8_t>(random());
      for (auto& b : block) b = static_cast<uint8_t>(random());
      AesContext context;
      AesSetKey(&context, key, keyLength, 0);
      std::memcpy(work, block, 16);
      AesEncryptBlock(&context, work, work);
      ASSERT_NE(std::memcmp(work, block, 16), 0);
      AesDecryptBlock(&context, work, work);
      ASSERT_EQ(std::memcmp(work, block, 16), 0) << keyLength;
    }
  }
}
