#pragma once
#include <cstdint>
#include <string>

// The file's size in whole MiB, halves rounded to even; 0 when it cannot be opened for
// reading with others allowed only to read (missing, or held open for writing: mounted).
int32_t GetFileSize(const std::wstring& path);

// The size in bytes of a file (not a folder), read without opening it: -1 when there is none.
int64_t FileBytes(const std::wstring& path);
