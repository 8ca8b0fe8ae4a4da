#include "header.h"

#include <stdio.h>
#include <string.h>

namespace header {
namespace {

constexpr uint32_t kVersion = 1;

bool ValidIndex(int index) {
  uint32_t i = static_cast<uint32_t>(index);
  return i >= kFirstBlock && i <= kLastBlock;
}

uint32_t LoadLittleEndian(const unsigned char* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void StoreLittleEndian(uint32_t value, unsigned char* p) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(value >> (8 * i));
}

// A block's 64 bytes: the text up to its first 0 or 64 characters, then 0s.
void FillBlock(unsigned char* block, const char* text) {
  memset(block, 0, kBlockSize);
  for (int i = 0; text && i < kBlockSize && text[i]; ++i)
    block[i] = static_cast<unsigned char>(text[i]);
}

// Writes bytes at offset of an existing file, which is neither created nor
// truncated. A failed open, seek, write or final flush gives -1.
int WriteAt(const char* path, long offset, const unsigned char* bytes, size_t count) {
  FILE* file = path ? fopen(path, "r+b") : nullptr;
  if (!file) return -1;
  // The flush is checked on its own: not every C runtime reports its failure from fclose.
  bool written = fseek(file, offset, SEEK_SET) == 0 && fwrite(bytes, 1, count, file) == count &&
                 fflush(file) == 0;
  bool closed = fclose(file) == 0;
  return written && closed ? 0 : -1;
}

// Reads up to count bytes from offset into bytes (zeroed first); returns the
// number read, or -1 when the file cannot be opened for reading.
long ReadAt(const char* path, long offset, unsigned char* bytes, size_t count) {
  memset(bytes, 0, count);
  FILE* file = path ? fopen(path, "rb") : nullptr;
  if (!file) return -1;
  size_t read = fseek(file, offset, SEEK_SET) == 0 ? fread(bytes, 1, count, file) : 0;
  fclose(file);
  return static_cast<long>(read);
}

}  // namespace

int Init(const char* path) {
  unsigned char bytes[kHeaderSize] = {'S', 'R', 0, 0};
  StoreLittleEndian(kHeaderSize, bytes + 4);
  StoreLittleEndian(kVersion, bytes + 8);
  return WriteAt(path, 0, bytes, sizeof bytes);
}

int Verify(const char* path, bool zeroExtend) {
  unsigned char bytes[kHeaderSize];
  long read = ReadAt(path, 0, bytes, zeroExtend ? sizeof bytes : 8);
  if (read < 0 || (!zeroExtend && read < 8)) return -1;
  return IsHeaderStart(bytes) ? 0 : -1;
}

bool IsHeaderStart(const unsigned char* bytes) {
  return bytes[0] == 'S' && bytes[1] == 'R' && LoadLittleEndian(bytes + 4) == kHeaderSize;
}

int Version(const char* path) {
  unsigned char bytes[kHeaderSize];
  if (ReadAt(path, 0, bytes, sizeof bytes) < 0) return -1;
  return static_cast<int>(LoadLittleEndian(bytes + 8));
}

int WriteBlock(const char* path, int index, const char* text) {
  if (!ValidIndex(index)) return -1;
  unsigned char block[kBlockSize];
  FillBlock(block, text);
  return WriteAt(path, long(index) * kBlockSize, block, sizeof block);
}

bool PlaceBlock(unsigned char* bytes, int index, const char* text) {
  if (!ValidIndex(index)) return false;
  FillBlock(bytes + index * kBlockSize, text);
  return true;
}

int ReadBlock(const char* path, int index, char* out) {
  if (!ValidIndex(index) || !out) return -1;
  unsigned char block[kBlockSize];
  if (ReadAt(path, long(index) * kBlockSize, block, sizeof block) < 0) return -1;
  // The text stops at its first 0; the rest of the buffer is cleared.
  int i = 0;
  for (; i < kBlockSize && block[i]; ++i) out[i] = static_cast<char>(block[i]);
  for (; i < kBlockSize; ++i) out[i] = 0;
  return 0;
}

}  // namespace header
