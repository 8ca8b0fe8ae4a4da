// Hex text <-> bytes for test vectors.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

inline std::vector<uint8_t> FromHex(const std::string& hex) {
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 2)
    bytes.push_back(static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  return bytes;
}

inline std::string ToHex(const uint8_t* bytes, size_t count) {
  std::string text(2 * count + 1, '\0');
  for (size_t i = 0; i < count; ++i) std::snprintf(&text[2 * i], 3, "%02x", bytes[i]);
  text.pop_back();
  return text;
}
