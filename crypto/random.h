// Random bytes from the system's cryptographic provider (Windows only).
#pragma once

#include <stdint.h>

// Fills bytes[0..15]; returns 0, or -1 when the provider cannot be acquired,
// fails or cannot be released (bytes then untouched).
int GenerateRandomKey(uint8_t bytes[16]);
