#pragma once
#include <cstdint>
#include <string>

// The file's size in whole MiB, halves rounded to even; 0 when it cannot be opened for
// reading with others allowed only to read (missing, or held open for writing: mounted).
int32_t GetFileSize(const std::wstring& path);

// The size in bytes of a file (not a folder), read without opening it: -1 when there is none.
int64_t FileBytes(const std::wstring& path);

// A length that a whole container has: at least the smallest one the programs make (10 MiB),
// and whole 512-byte sectors past the 1024-byte header (what the driver serves as the disk).
bool IsWholeContainerLength(int64_t bytes);

// True when another program (or the driver, mounting or guarding the file) holds it so that
// it cannot be opened for reading: what "in use" means, as opposed to a file that is damaged
// or unreadable for another reason.
bool FileIsHeld(const std::wstring& path);
