// The mount command line: split into words, quote stripping, and the operation
// with its fields. Portable: no system calls.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

constexpr int kMaxWords = 10;
constexpr int kWordSize = 256;  // 255 characters and a NUL

struct WordTable {
  char words[kMaxWords][kWordSize];
  int count;
};

// Splits at blanks outside double quotes; quotes stay in their word. A blank
// starts the next word and is overwritten by its first character, so doubled or
// trailing blanks leave one-blank words. False for more than 10 words or a word
// of more than 255 characters; nothing is written past the table.
bool SplitWords(const char* line, WordTable* table);

// Drops a word's first and last character when it begins with a double quote.
void StripQuotes(char* word);

enum class Operation { None, Mount, Unmount, Kill, LockFile, UnlockFile, Query };

struct Command {
  Operation operation = Operation::None;
  unsigned device = 0;
  char drive = 0;
  const char* path = nullptr;  // container path, quotes stripped (mount, lock-file)
  const char* key = nullptr;   // mount only
};

// Chooses the operation by word count and exact command word; the fields point
// into the table. Operation::None when nothing matches, and for a mount, lock-file,
// unlock-file or query whose drive word is not a letter and a colon (and a backslash):
// those define the letter.
Command ParseCommand(const char* line, WordTable* table);

// The driver's request buffers.
std::vector<uint8_t> OpenFileRequest(const char* path);
std::array<uint8_t, 32> SetKeyRequest(const char* key);
std::array<uint8_t, 256> LockFileRequest(const char* path);
