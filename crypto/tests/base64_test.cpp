#include "base64.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(Base64, EncodesWithPadding) {
  const struct {
    std::string bytes;
    const char* text;
  } rows[] = {{"", ""},
              {"f", "Zg=="},
              {"fo", "Zm8="},
              {"foo", "Zm9v"},
              {"foob", "Zm9vYg=="},
              {"fooba", "Zm9vYmE="},
              {"foobar", "Zm9vYmFy"},
              {"\xff\xfe\x80", "//6A"},
              {std::string(16, '\0'), "AAAAAAAAAAAAAAAAAAAAAA=="}};
  for (const auto& row : rows) {
    char text[32];
    const auto* bytes = reinterpret_cast<const uint8_t*>(row.bytes.data());
    EXPECT_EQ(Base64Encode(bytes, row.bytes.size(), text), 0);
    EXPECT_STREQ(text, row.text);
  }
}

// Whole groups only, nothing after the first group with "=", characters outside
// the alphabet count as 0, and never a byte past the room.
TEST(Base64, DecodesIntoTheRoomOnly) {
  const std::string zeros(32, '\0');
  const struct {
    std::string text;
    size_t room;
    std::string bytes;
  } rows[] = {
      {"Zm9vYmFy", 48, "foobar"},
      {"Zm9vYg==", 48, "foob"},
      {"Zm9vYmE=", 48, "fooba"},
      {"", 48, ""},
      {"Zm9", 48, ""},
      {"Zm9vYm", 48, "foo"},
      {"Zg==Zm9v", 48, "f"},
      {"Zm=8", 48, "f`"},
      {"Z===", 48, ""},
      {"Zm9v====", 48, "foo"},
      {"A*\xc3\x80", 48, zeros.substr(0, 3)},
      {"-_Zg", 48, std::string("\0\x06\x60", 3)},  // not the URL-safe alphabet
      {"Zm9vYmFy", 4, "foob"},
      {"Zm9vYmFy", 0, ""},
      {std::string(99, 'A'), 17, zeros.substr(0, 17)},
      {"AAAAAAAAAAAAAAAAAAAAAA==", 16, zeros.substr(0, 16)},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text + " into " + std::to_string(row.room));
    uint8_t buffer[64];
    std::memset(buffer, 0xee, sizeof buffer);
    size_t count = row.room;
    EXPECT_EQ(Base64Decode(row.text.c_str(), buffer, &count), count);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), count), row.bytes);
    for (size_t i = count; i < sizeof buffer; ++i) EXPECT_EQ(buffer[i], 0xee) << "byte " << i;
  }
}
