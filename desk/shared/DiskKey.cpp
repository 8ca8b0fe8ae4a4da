#include "DiskKey.h"

bool IsDiskKey(const std::string& key) {
  if (key.size() != 16) return false;
  for (char c : key) {
    bool base64 = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                  c == '+' || c == '/';
    if (!base64) return false;
  }
  return true;
}
