// One file destroyed beyond recovery, and the random bytes that overwrite it.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

namespace shredder {

// A fast stream of random bytes (xoshiro256**), seeded from the system's cryptographic
// source: the random pass needs noise nobody can predict, at disk speed.
class RandomBytes {
 public:
  RandomBytes();
  void Fill(char* data, size_t size);

 private:
  uint64_t Next();
  uint64_t s_[4] = {};
};

// Called after every block written, with the bytes of that block.
using WrittenBytes = std::function<void(uint64_t bytes)>;

// Overwrites every byte of the file with random data, then zeros (flushed after each
// pass), renames it to a random name, truncates and deletes it. The read-only attribute
// is cleared first. A link is never followed. A file that cannot be opened for that, or
// whose overwrite fails, is left as it was (its attributes restored) and never deleted:
// returns false.
bool WipeFile(const std::wstring& path, RandomBytes& random, const WrittenBytes& written);

}  // namespace shredder
