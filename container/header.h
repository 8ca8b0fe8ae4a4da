// The 1024-byte container header and its fifteen 64-byte text blocks.
// Portable (C stdio only); the DLL export layers forward here.
#pragma once

#include <stdint.h>

namespace header {

constexpr int kHeaderSize = 1024;
constexpr int kBlockSize = 64;
constexpr int kFirstBlock = 1;
constexpr int kLastBlock = 15;

// Writes a fresh header over the first 1024 bytes of an existing file.
// 0, or -1 when the file cannot be opened for update or the write fails.
int Init(const char* path);

// 0 when the file starts with "SR" and header size 1024, else -1.
// zeroExtend false: a file shorter than 8 bytes is refused;
// zeroExtend true: the missing bytes of a short file are read as zeros.
int Verify(const char* path, bool zeroExtend);

// The same test on the file's first 8 bytes, already read.
bool IsHeaderStart(const unsigned char* bytes);

// The version field (missing bytes read as zeros), or -1 when unreadable.
int Version(const char* path);

// Stores text (at most 64 characters, NUL-padded) in block index 1..15.
// 0, or -1 for a bad index, a file not open for update or a failed write.
int WriteBlock(const char* path, int index, const char* text);

// Stores text as WriteBlock does, into the header's bytes already read (`bytes` holds at
// least the block); false for a bad index.
bool PlaceBlock(unsigned char* bytes, int index, const char* text);

// Copies block index 1..15 into out: its bytes up to the first 0, then 0s,
// exactly 64 bytes. 0, or -1 for a bad index or an unreadable file.
int ReadBlock(const char* path, int index, char* out);

}  // namespace header
