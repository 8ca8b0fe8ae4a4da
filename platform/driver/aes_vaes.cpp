#include "aes_vaes.h"

#include <cpuid.h>

namespace {

// The state components the system saves and restores (XCR0).
uint64_t EnabledState() {
  uint32_t low, high;
  __asm__ volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
  return (static_cast<uint64_t>(high) << 32) | low;
}

}  // namespace

bool VaesAvailable(VaesWidth width) {
  unsigned a, b, c, d;
  if (!__get_cpuid(1, &a, &b, &c, &d)) return false;
  if (!(c & bit_AES) || !(c & bit_OSXSAVE) || !(c & bit_AVX)) return false;
  const uint64_t sseAndAvx = 0x6, avx512 = 0xe0;  // XMM, YMM; opmask, ZMM upper, ZMM16-31
  if ((EnabledState() & sseAndAvx) != sseAndAvx) return false;
  if (__get_cpuid_max(0, nullptr) < 7) return false;
  __cpuid_count(7, 0, a, b, c, d);
  if (!(b & bit_AVX2) || !(c & bit_VAES) || !(c & bit_VPCLMULQDQ)) return false;
  if (width == VaesWidth::Bits256) return true;
  return (b & bit_AVX512F) && (b & bit_AVX512VL) && (c & bit_AVX512VBMI2) &&
         (EnabledState() & avx512) == avx512;
}
