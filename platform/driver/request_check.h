// Checks of the driver's request buffers and transfers, kept apart from the kernel
// calls so they run in ordinary tests. Freestanding.
#pragma once

#include <stddef.h>
#include <stdint.h>

// Whether text is a full DOS path to a file: drive letter, colon, backslash and a
// name, no NUL. Anything else after "\??\" names a device or a link to one
// ("\??\PhysicalDrive0", "\??\GLOBALROOT\Device\...", the bare volume "\??\C:").
bool IsDosPath(const char* text, size_t length);

// The NT path inside an open-file request ("\??\" and a DOS path), or false when
// the buffer is short, the length runs past it, or the name is not "\??\" and a
// DOS path.
bool ParseOpenFileRequest(const uint8_t* buffer, size_t size, const char** name,
                          size_t* nameLength);

// The DOS path inside a lock-file request: text up to its NUL, which must lie
// within the buffer; false for an unterminated path or one that is no DOS path.
bool ParseLockFileRequest(const uint8_t* buffer, size_t size, const char** path,
                          size_t* pathLength);

// Bytes of disk a container file of fileSize bytes serves: whole sectors after
// the header; 0 when there is not one.
uint64_t DiskLength(uint64_t fileSize);

// Whether a read or write of length bytes at offset lies on whole sectors
// inside a disk of diskLength bytes.
bool TransferFits(uint64_t offset, uint64_t length, uint64_t diskLength);

// A transfer shared among threads: count pieces of pieceBytes each (whole sectors),
// the last one holding what is left. At most maxPieces, none shorter than minPiece
// bytes unless the transfer is; one piece when it is not worth splitting.
struct TransferSplit {
  uint32_t count;
  uint32_t pieceBytes;
};
TransferSplit SplitTransfer(uint32_t length, uint32_t maxPieces, uint32_t minPiece);
