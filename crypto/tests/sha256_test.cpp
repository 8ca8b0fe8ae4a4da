#include "sha256.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "hex.h"

namespace {

std::string Digest(const std::string& message) {
  uint8_t digest[32];
  EXPECT_EQ(Sha256Digest(digest, message.data(), message.size()), 32u);
  return ToHex(digest, 32);
}

}  // namespace

TEST(Sha256, PublishedDigestsAndPaddingBoundaries) {
  EXPECT_EQ(Digest(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(Digest("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_EQ(Digest("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
            "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
  EXPECT_EQ(Digest(std::string(55, 'a')),
            "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318");
  EXPECT_EQ(Digest(std::string(56, 'a')),
            "b35439a4ac6f0948b6d6f9e3c6af0f5f590ce20f1bde7090ef7970686ec6738a");
  EXPECT_EQ(Digest(std::string(64, 'a')),
            "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb");
}

TEST(Sha256, OneMillionA) {
  EXPECT_EQ(Digest(std::string(1000000, 'a')),
            "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
  // The same message in uneven pieces.
  Sha256Context context;
  Sha256Init(&context);
  std::string piece(997, 'a');
  size_t left = 1000000;
  while (left) {
    size_t n = left < piece.size() ? left : piece.size();
    Sha256Update(&context, piece.data(), n);
    left -= n;
  }
  uint8_t digest[32];
  Sha256Final(digest, &context, 32);
  EXPECT_EQ(ToHex(digest, 32), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

TEST(Sha256, PiecewiseFeedingMatchesWhole) {
  std::string message;
  for (int i = 0; i < 200; ++i) message += static_cast<char>(i * 7);
  for (size_t length : {0u, 1u, 55u, 56u, 63u, 64u, 65u, 119u, 128u, 200u}) {
    std::string whole = Digest(message.substr(0, length));
    for (size_t split = 0; split <= length; split += 13) {
      Sha256Context context;
      Sha256Init(&context);
      Sha256Update(&context, message.data(), split);
      Sha256Update(&context, message.data() + split, 0);
      Sha256Update(&context, message.data() + split, length - split);
      uint8_t digest[32];
      Sha256Final(digest, &context, 32);
      EXPECT_EQ(ToHex(digest, 32), whole) << length << " split at " << split;
    }
    Sha256Context context;
    Sha256Init(&context);
    for (size_t i = 0; i < length; ++i) Sha256Update(&context, message.data() + i, 1);
    uint8_t digest[32];
    Sha256Final(digest, &context, 32);
    EXPECT_EQ(ToHex(digest, 32), whole) << length << " byte by byte";
  }
}

TEST(Sha256, FinalWritesOnlyTheBytesAskedFor) {
  std::string full = Digest("abc");
  for (size_t n : {0u, 1u, 16u, 31u, 32u, 40u}) {
    uint8_t digest[40];
    std::memset(digest, 0xee, sizeof digest);
    Sha256Context context;
    Sha256Init(&context);
    Sha256Update(&context, "abc", 3);
    size_t written = Sha256Final(digest, &context, n);
    size_t expected = n > 32 ? 32 : n;
    EXPECT_EQ(written, expected);
    EXPECT_EQ(ToHex(digest, expected), full.substr(0, 2 * expected));
    for (size_t i = expected; i < sizeof digest; ++i) EXPECT_EQ(digest[i], 0xee) << n;
  }
}
