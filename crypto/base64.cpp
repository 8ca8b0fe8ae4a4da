#include "base64.h"

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

struct DecodeTable {
  uint8_t value[256];
};

constexpr DecodeTable MakeDecodeTable() {
  DecodeTable table{};  // outside the alphabet: 0
  for (int i = 0; i < 64; ++i) table.value[static_cast<unsigned char>(kAlphabet[i])] = uint8_t(i);
  return table;
}

constexpr DecodeTable kDecode = MakeDecodeTable();

}  // namespace

int Base64Encode(const uint8_t* bytes, size_t count, char* text) {
  size_t i = 0;
  for (; i + 3 <= count; i += 3) {
    uint32_t group = uint32_t(bytes[i]) << 16 | uint32_t(bytes[i + 1]) << 8 | bytes[i + 2];
    *text++ = kAlphabet[group >> 18];
    *text++ = kAlphabet[(group >> 12) & 63];
    *text++ = kAlphabet[(group >> 6) & 63];
    *text++ = kAlphabet[group & 63];
  }
  size_t left = count - i;
  if (left) {
    uint32_t group = uint32_t(bytes[i]) << 16 | (left == 2 ? uint32_t(bytes[i + 1]) << 8 : 0);
    *text++ = kAlphabet[group >> 18];
    *text++ = kAlphabet[(group >> 12) & 63];
    *text++ = left == 2 ? kAlphabet[(group >> 6) & 63] : '=';
    *text++ = '=';
  }
  *text = 0;
  return 0;
}

size_t Base64Decode(const char* text, uint8_t* bytes, size_t* count) {
  size_t room = *count;
  size_t written = 0;
  size_t length = 0;
  while (text[length]) ++length;

  for (size_t i = 0; i + 4 <= length && written < room; i += 4) {
    uint32_t group = 0;
    int pads = 0;
    for (int j = 0; j < 4; ++j) {
      unsigned char c = static_cast<unsigned char>(text[i + j]);
      if (c == '=') ++pads;
      group = group << 6 | (c == '=' ? 0 : kDecode.value[c]);
    }
    uint8_t decoded[3] = {uint8_t(group >> 16), uint8_t(group >> 8), uint8_t(group)};
    int yield = pads == 0 ? 3 : pads == 1 ? 2 : pads == 2 ? 1 : 0;
    for (int j = 0; j < yield && written < room; ++j) bytes[written++] = decoded[j];
    if (pads) break;
  }
  *count = written;
  return written;
}
