#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "PasswordVerifier.h"
#include "Pbkdf2.h"

namespace {

std::string Pbkdf2Hex(std::string_view password, std::string_view salt, uint32_t iterations) {
  uint8_t out[32];
  verifier::Pbkdf2HmacSha256(password, salt, iterations, out);
  std::string hex;
  for (uint8_t b : out) hex += "0123456789abcdef"[b >> 4], hex += "0123456789abcdef"[b & 15];
  return hex;
}

TEST(Pbkdf2, PublishedVectorsAndLongKey) {
  EXPECT_EQ(Pbkdf2Hex("passwd", "salt", 1),
            "55ac046e56e3089fec1691c22544b605f94185216dde0465e68b9d57c20dacbc");
  EXPECT_EQ(Pbkdf2Hex("password", "salt", 4096),
            "c5e478d59288c841aa530db6845c4c8d962893a001ce4e11a4963873aa98134a");
  // A key longer than a block is hashed first.
  EXPECT_EQ(Pbkdf2Hex(std::string(100, 'x'), "salt", 3),
            "59bfa49750dd5462ce38370a1e7abe0736ff334cf1c2f0d84f23a03435d660d1");
}

TEST(PasswordVerifier, StoredFormatIsFixedAndSeesTheWholePassword) {
  // Containers made with these values must keep opening: never change them.
  EXPECT_EQ(verifier::PasswordVerifier("Sorvane-2024!"),
            "68A8BF6DADEB1ED3996766FA7168FB8E82DF0CA7094840CFDE342C574A5F5602");
  EXPECT_EQ(verifier::PasswordVerifier(""),
            "161F1D5A7C15C11D395322E78767B3CF978B5D57DB917CFC1340860EA35320E9");
  // Passwords agreeing in their first 16 characters (a disk key's length) still differ.
  EXPECT_NE(verifier::PasswordVerifier("0123456789abcdefX"),
            verifier::PasswordVerifier("0123456789abcdefY"));
}

TEST(PasswordVerifier, Cost) {
  auto t0 = std::chrono::steady_clock::now();
  verifier::PasswordVerifier("cost of one verifier");
  auto ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0);
  std::printf("one verifier (%u iterations): %.1f ms\n", verifier::kIterations, ms.count());
}

}  // namespace
