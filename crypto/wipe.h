// Zeroes secret bytes (keys, their schedules, digests of them) where plain stores would
// be dropped as dead. Freestanding, for the primitives and the disk driver alike.
#pragma once

#include <stddef.h>
#include <stdint.h>

inline void Wipe(void* p, size_t n) {
  volatile uint8_t* bytes = static_cast<volatile uint8_t*>(p);
  while (n--) *bytes++ = 0;
}
