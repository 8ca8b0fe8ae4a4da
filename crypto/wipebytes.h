// Clears memory that held secret bytes. Freestanding like aes.h.
#pragma once

#include <stddef.h>
#include <stdint.h>

// Volatile stores: plain ones to memory that is about to be left would be dropped as dead.
inline void Wipe(void* p, size_t n) {
  volatile uint8_t* bytes = static_cast<volatile uint8_t*>(p);
  while (n--) *bytes++ = 0;
}
