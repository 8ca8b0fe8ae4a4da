// One file destroyed beyond recovery, and the random bytes that overwrite it.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

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

// The named streams of a file ("name:stream:$DATA" on NTFS) hold data of their own that the
// file's delete frees unwiped. A seam: Wine keeps no streams.
class Streams {
 public:
  virtual ~Streams() = default;
  // The file's streams besides the main one, by name (":stream:$DATA").
  virtual std::vector<std::wstring> Named(const std::wstring& path);
  // One of them opened for the wipe, shared as the main stream is.
  virtual HANDLE Open(const std::wstring& path, const std::wstring& name);
};

enum class WipeResult {
  Wiped,
  NotOpened,     // held by another program, no rights, or the overwrite failed
  SeveralNames,  // a hard link: the same bytes stay reachable under a name not chosen
};

// Overwrites every byte of the file, its named streams first, with random data, then zeros
// (flushed after each pass), renames it to a random name, truncates and deletes it. The
// read-only attribute is cleared first. A link is never followed. A file that cannot be
// opened for that, whose overwrite fails, or that has more than one name, is left as it
// was (its attributes restored) and never deleted.
WipeResult WipeFile(const std::wstring& path, RandomBytes& random, const WrittenBytes& written,
                    Streams& streams);

// Removes a link's own name, never what it points to: only when the opened entry shows itself
// as the link (Wine opens the target instead, and is refused).
bool RemoveLink(const std::wstring& path);

// The full path of `path` (a relative one taken from the current folder); empty when it has
// none, and empty stays empty.
std::wstring FullPath(const std::wstring& path);

// The full path with \\?\ before it (\\?\UNC\ for a share), so that no call stops at 260
// characters; and the path as the user knows it again.
std::wstring LongForm(const std::wstring& path);
std::wstring ShortForm(const std::wstring& path);

}  // namespace shredder
