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

// A stretch of a file that holds data; a sparse file's holes hold nothing to wipe.
struct Range {
  uint64_t offset, length;
};

// What the wipe asks the file system about a file: its named streams ("name:stream:$DATA" on
// NTFS hold data of their own that the file's delete frees unwiped) and where its data lies.
// A seam: Wine keeps no streams and answers no allocated ranges.
class FileLayout {
 public:
  virtual ~FileLayout() = default;
  // The streams of the open file besides the main one, by name (":stream:$DATA"); `path` is
  // the file's name as the user reads it.
  virtual std::vector<std::wstring> Named(HANDLE file, const std::wstring& path);
  // One of them opened for the wipe, shared as the main stream is.
  virtual HANDLE Open(HANDLE file, const std::wstring& path, const std::wstring& name);
  // The ranges below `size` of a stream of the file at `path` that hold data; all of it where
  // the file system cannot tell.
  virtual std::vector<Range> Allocated(HANDLE stream, const std::wstring& path, uint64_t size);
};

// Opened files are shared for reading and deleting only: nobody writes (or appends bytes the
// wipe would free unwritten) while it runs.
inline constexpr DWORD kWipeAccess = GENERIC_READ | GENERIC_WRITE | DELETE;
inline constexpr DWORD kWipeShare = FILE_SHARE_READ | FILE_SHARE_DELETE;

enum class WipeResult {
  Wiped,
  NotOpened,      // a named stream held by another program, or no rights
  NotOverwritten, // the overwrite failed: `error` says why
  SeveralNames,   // a hard link: the same bytes stay reachable under a name not chosen
};
struct WipeOutcome {
  WipeResult result;
  DWORD error = 0;
};

// Overwrites every byte of data of the open file, its named streams first, with random data,
// then zeros (flushed after each pass), renames it to a random name in `folder`, truncates and
// deletes it through its handle. A file with a stream that cannot be opened, whose overwrite
// fails or would not find the disk space it needs, or that has more than one name, is never
// deleted.
WipeOutcome WipeFile(HANDLE file, HANDLE folder, const std::wstring& path, RandomBytes& random,
                     const WrittenBytes& written, FileLayout& layout);

// Marks the open file or emptied folder for deletion.
bool DeleteByHandle(HANDLE file);

// The full path of `path` (a relative one taken from the current folder), every name in it
// kept as given, trailing dots and blanks too; empty when it has none, and empty stays empty.
std::wstring FullPath(const std::wstring& path);

// The full path with \\?\ before it (\\?\UNC\ for a share), so that no call stops at 260
// characters; and the path as the user knows it again.
std::wstring LongForm(const std::wstring& path);
std::wstring ShortForm(const std::wstring& path);

}  // namespace shredder
