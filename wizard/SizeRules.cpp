#include "SizeRules.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace wizard {

std::wstring SizeText(std::uint64_t bytes) {
  // The MiB are rounded to two decimals and held as a single-precision number, as shown.
  const float mib = float(std::round(double(bytes) / 1048576.0 * 100.0) / 100.0);
  char text[32];
  if (mib > 1000) {
    std::snprintf(text, sizeof text, "%.2fGB", double(mib) / 1024.0);
    return forms::FromAnsi(text);
  }
  auto end = std::to_chars(text, text + sizeof text, mib).ptr;
  return forms::FromAnsi(std::string(text, end)) + L"MB";
}

bool IsListed(const forms::Drive& drive) {
  return drive.IsReady &&
         (drive.DriveType == forms::Drive::Fixed || drive.DriveType == forms::Drive::Removable ||
          drive.DriveType == forms::Drive::Network);
}

int Recommend(const std::vector<forms::Drive>& rows) {
  std::uint64_t best = 0;
  int pick = -1;
  for (size_t i = 0; i < rows.size(); ++i) {
    std::uint64_t free = rows[i].DriveType == forms::Drive::Fixed ? rows[i].FreeSpace : 0;
    if (free > best) {
      best = free;
      pick = int(i);
    }
  }
  return pick;
}

std::int64_t FreeMiB(const forms::Drive& drive) { return std::int64_t(drive.FreeSpace >> 20); }

std::int64_t SizeForSlider(std::int64_t freeMiB, int percent) { return freeMiB * percent / 100; }

int SliderForSize(std::int64_t sizeMiB, std::int64_t freeMiB) {
  if (freeMiB <= 0 || sizeMiB >= freeMiB) return 100;
  if (sizeMiB < 0) return 0;
  return int(sizeMiB * 100 / freeMiB + 1);
}

bool FitsFreeSpace(std::int64_t sizeMiB, std::uint64_t freeBytes) {
  return sizeMiB >= 0 && std::uint64_t(sizeMiB) <= (freeBytes >> 20);
}

bool IsAllDigits(const std::wstring& text) {
  for (wchar_t c : text)
    if (c < L'0' || c > L'9') return false;
  return true;
}

std::int64_t SizeNumber(const std::wstring& text) {
  constexpr std::int64_t kMax = INT32_MAX;
  std::int64_t n = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') break;
    n = n * 10 + (c - L'0');
    if (n > kMax) return kMax;
  }
  return n;
}

}  // namespace wizard
