// Base64 (standard alphabet, "=" padding, no line breaks) for the library's key texts.
#pragma once

#include <stddef.h>
#include <stdint.h>

// Writes 4 * ceil(count / 3) characters and a NUL; returns 0.
int Base64Encode(const uint8_t* bytes, size_t count, char* text);

// Decodes whole groups of four characters from the start of text; one to three
// characters after the last whole group are ignored, and decoding stops after
// the first group holding "=". Characters outside the alphabet count as 0.
// *count holds the room in bytes on entry and the number written on return;
// decoding stops when the room is full. Returns the number written.
size_t Base64Decode(const char* text, uint8_t* bytes, size_t* count);
