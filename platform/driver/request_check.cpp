#include "request_check.h"

#include "sorvdisk_ioctl.h"

bool IsDosPath(const char* text, size_t length) {
  if (length < 4) return false;
  const char letter = static_cast<char>(text[0] | 0x20);
  if (letter < 'a' || letter > 'z' || text[1] != ':' || text[2] != '\\') return false;
  for (size_t i = 0; i < length; ++i)
    if (text[i] == 0) return false;
  return true;
}

bool ParseOpenFileRequest(const uint8_t* buffer, size_t size, const char** name,
                          size_t* nameLength) {
  if (!buffer || size < kOpenFileNameOffset) return false;
  size_t length = buffer[16] | (buffer[17] << 8);
  if (length < 4 || length > size - kOpenFileNameOffset) return false;
  const char* text = reinterpret_cast<const char*>(buffer + kOpenFileNameOffset);
  if (text[0] != '\\' || text[1] != '?' || text[2] != '?' || text[3] != '\\') return false;
  if (!IsDosPath(text + 4, length - 4)) return false;
  *name = text;
  *nameLength = length;
  return true;
}

bool ParseLockFileRequest(const uint8_t* buffer, size_t size, const char** path,
                          size_t* pathLength) {
  if (!buffer) return false;
  for (size_t i = 0; i < size; ++i) {
    if (buffer[i] == 0) {
      if (!IsDosPath(reinterpret_cast<const char*>(buffer), i)) return false;
      *path = reinterpret_cast<const char*>(buffer);
      *pathLength = i;
      return true;
    }
  }
  return false;
}

uint64_t DiskLength(uint64_t fileSize) {
  if (fileSize < kDiskOffset) return 0;
  return (fileSize - kDiskOffset) / kSectorSize * kSectorSize;
}

bool TransferFits(uint64_t offset, uint64_t length, uint64_t diskLength) {
  if (offset % kSectorSize || length % kSectorSize) return false;
  return offset <= diskLength && length <= diskLength - offset;
}

TransferSplit SplitTransfer(uint32_t length, uint32_t maxPieces, uint32_t minPiece) {
  uint32_t count = minPiece ? length / minPiece : maxPieces;
  if (count > maxPieces) count = maxPieces;
  if (count <= 1) return {1, length};
  const uint32_t sectors = length / kSectorSize;
  const uint32_t pieceBytes = (sectors + count - 1) / count * kSectorSize;
  return {(length + pieceBytes - 1) / pieceBytes, pieceBytes};
}
