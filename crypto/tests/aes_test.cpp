#include "aes.h"

#include <gtest/gtest.h>

#include "hex.h"

// FIPS-197 Appendix C. The three keys are prefixes of one 32-byte key; the
// length may be given in bits or bytes, any other value means 128 bits.
TEST(Aes, PublishedExamplesForAllKeySizes) {
  const auto key = FromHex("000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f");
  const std::string plain = "00112233445566778899aabbccddeeff";
  const char* c128 = "69c4e0d86a7b0430d8cdb78070b4c55a";
  const char* c192 = "dda97ca4864cdfe06eaf70a0ec0d7191";
  const char* c256 = "8ea2b7ca516745bfeafc49904b496089";
  const struct {
    int keyLength;
    const char* cipher;
  } rows[] = {{128, c128}, {16, c128}, {0, c128},   {-1, c128}, {100, c128},
              {192, c192}, {24, c192}, {256, c256}, {32, c256}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.keyLength);
    AesContext encryptOnly, both;
    AesSetKey(&encryptOnly, key.data(), row.keyLength, 1);
    AesSetKey(&both, key.data(), row.keyLength, 0);
    uint8_t block[16];
    AesEncryptBlock(&encryptOnly, FromHex(plain).data(), block);
    EXPECT_EQ(ToHex(block, 16), row.cipher);
    AesDecryptBlock(&both, block, block);  // in place
    EXPECT_EQ(ToHex(block, 16), plain);
  }
}
