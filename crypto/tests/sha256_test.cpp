#include "sha256.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "hex.h"

namespace {

// Feeds the message in pieces of the given size, with empty updates between.
std::string Digest(const std::string& message, size_t piece) {
  Sha256Context context;
  Sha256Init(&context);
  for (size_t at = 0; at < message.size(); at += piece) {
    Sha256Update(&context, message.data() + at, std::min(piece, message.size() - at));
    Sha256Update(&context, message.data(), 0);
  }
  uint8_t digest[32];
  Sha256Final(digest, &context, 32);
  return ToHex(digest, 32);
}

}  // namespace

TEST(Sha256, PublishedDigestsWholeAndPiecewise) {
  const struct {
    std::string message;
    const char* digest;
  } rows[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {std::string(55, 'a'), "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318"},
      {std::string(56, 'a'), "b35439a4ac6f0948b6d6f9e3c6af0f5f590ce20f1bde7090ef7970686ec6738a"},
      {std::string(64, 'a'), "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb"},
      {std::string(1000000, 'a'),
       "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.message.size());
    uint8_t digest[32];
    EXPECT_EQ(Sha256Digest(digest, row.message.data(), row.message.size()), 32u);
    EXPECT_EQ(ToHex(digest, 32), row.digest);
    for (size_t piece : {1, 13, 63, 64, 997})
      EXPECT_EQ(Digest(row.message, piece), row.digest) << piece;
  }
}
