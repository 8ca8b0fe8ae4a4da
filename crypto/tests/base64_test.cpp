#include "base64.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string Encode(const std::string& bytes) {
  char text[64];
  std::memset(text, 'x', sizeof text);
  EXPECT_EQ(Base64Encode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), text), 0);
  return text;
}

// Decodes into a buffer of the given room followed by guard bytes.
std::string Decode(const char* text, size_t room = 48) {
  uint8_t buffer[64];
  std::memset(buffer, 0xee, sizeof buffer);
  size_t count = room;
  size_t result = Base64Decode(text, buffer, &count);
  EXPECT_EQ(result, count);
  EXPECT_LE(count, room);
  for (size_t i = count; i < sizeof buffer; ++i) EXPECT_EQ(buffer[i], 0xee) << "byte " << i;
  return std::string(reinterpret_cast<char*>(buffer), count);
}

}  // namespace

TEST(Base64, EncodesWithPadding) {
  EXPECT_EQ(Encode(""), "");
  EXPECT_EQ(Encode("f"), "Zg==");
  EXPECT_EQ(Encode("fo"), "Zm8=");
  EXPECT_EQ(Encode("foo"), "Zm9v");
  EXPECT_EQ(Encode("foob"), "Zm9vYg==");
  EXPECT_EQ(Encode("fooba"), "Zm9vYmE=");
  EXPECT_EQ(Encode("foobar"), "Zm9vYmFy");
  EXPECT_EQ(Encode("\xff\xfe\x80"), "//6A");  // bytes are unsigned
  EXPECT_EQ(Encode(std::string(16, '\0')), "AAAAAAAAAAAAAAAAAAAAAA==");
}

TEST(Base64, DecodesWholeGroupsAndStopsAtPadding) {
  EXPECT_EQ(Decode("Zm9vYmFy"), "foobar");
  EXPECT_EQ(Decode("Zm9vYg=="), "foob");
  EXPECT_EQ(Decode("Zm9vYmE="), "fooba");
  EXPECT_EQ(Decode(""), "");
  EXPECT_EQ(Decode("Zm9"), "");              // fewer than four characters
  EXPECT_EQ(Decode("Zm9vYm"), "foo");        // a partial group at the end is ignored
  EXPECT_EQ(Decode("Zm9vYmFyZ"), "foobar");
  EXPECT_EQ(Decode("Zg==Zm9v"), "f");        // nothing after the first padded group
  EXPECT_EQ(Decode("Zm=8"), "f`");  // one "=" anywhere: two bytes
  EXPECT_EQ(Decode("Z==="), "");
  EXPECT_EQ(Decode("===="), "");
  EXPECT_EQ(Decode("Zm9v===="), "foo");
}

TEST(Base64, CharactersOutsideTheAlphabetCountAsZero) {
  EXPECT_EQ(Decode("A*A*"), Decode("AAAA"));
  EXPECT_EQ(Decode("\xc3\xa9\x80 "), Decode("AAAA"));  // high bytes, blank
  EXPECT_EQ(Decode("-_Zg"), Decode("AAZg"));
}

TEST(Base64, DecodingNeverPassesTheRoom) {
  std::string long_text(100, 'Q');
  EXPECT_EQ(Decode(long_text.c_str(), 16).size(), 16u);
  EXPECT_EQ(Decode(long_text.c_str(), 17).size(), 17u);
  EXPECT_EQ(Decode("Zm9vYmFy", 4), "foob");
  EXPECT_EQ(Decode("Zm9vYmFy", 0), "");
  // A 24-character text of 16 bytes fills 16 bytes exactly.
  EXPECT_EQ(Decode("AAAAAAAAAAAAAAAAAAAAAA==", 16), std::string(16, '\0'));
}
