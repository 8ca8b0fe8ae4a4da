#include "FileWipe.h"

#include <bcrypt.h>
#include <winternl.h>
#include <winioctl.h>

#include "Handles.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace shredder {
namespace {

constexpr DWORD kBlock = 1 << 20;

// FILE_DISPOSITION_INFO_EX of Windows 10: the name goes at once, even while others
// hold the file open, so that its folder can go too. Older systems refuse it.
struct DispositionEx {
  ULONG Flags;
};
constexpr ULONG kDeleteNow = 0x1 | 0x2;  // FILE_DISPOSITION_FLAG_DELETE | POSIX_SEMANTICS
constexpr auto kDispositionInfoEx = static_cast<FILE_INFO_BY_HANDLE_CLASS>(21);

bool Seek(HANDLE file, uint64_t offset) {
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(offset);
  return SetFilePointerEx(file, at, nullptr, FILE_BEGIN);
}

// One pass over the ranges, random or zero, flushed to the disk.
bool Overwrite(HANDLE file, const std::vector<Range>& ranges, RandomBytes* random,
               const WrittenBytes& written) {
  std::vector<char> block(kBlock);
  for (const Range& range : ranges) {
    if (!Seek(file, range.offset)) return false;
    for (uint64_t left = range.length; left;) {
      const DWORD n = left < kBlock ? static_cast<DWORD>(left) : kBlock;
      if (random) random->Fill(block.data(), n);
      DWORD done = 0;
      if (!WriteFile(file, block.data(), n, &done, nullptr)) return false;
      if (done != n) {
        SetLastError(ERROR_DISK_FULL);
        return false;
      }
      left -= n;
      written(n);
    }
  }
  return FlushFileBuffers(file);
}

// A stream to wipe and the ranges of it that hold data.
struct Target {
  HANDLE stream;
  std::vector<Range> ranges;
};

// Whether the passes over `target` find the space they need: a range the file system could
// not place (a hole where it cannot tell the holes) takes new space. A wipe that would stop
// for want of it starts nowhere, so the file is left whole.
bool Fits(const Target& target) {
  uint64_t bytes = 0;
  for (const Range& range : target.ranges) bytes += range.length;
  FILE_STANDARD_INFO standard{};
  if (!GetFileInformationByHandleEx(target.stream, FileStandardInfo, &standard, sizeof standard) ||
      bytes <= static_cast<uint64_t>(standard.AllocationSize.QuadPart))
    return true;
  FILE_FS_SIZE_INFORMATION volume{};
  IO_STATUS_BLOCK io{};
  if (!NT_SUCCESS(NtQueryVolumeInformationFile(target.stream, &io, &volume, sizeof volume,
                                               FileFsSizeInformation)))
    return true;
  const uint64_t free = static_cast<uint64_t>(volume.AvailableAllocationUnits.QuadPart) *
                        volume.SectorsPerAllocationUnit * volume.BytesPerSector;
  if (bytes - standard.AllocationSize.QuadPart <= free) return true;
  SetLastError(ERROR_DISK_FULL);
  return false;
}

// Both passes over every stream, once all of them are known to fit.
bool OverwriteAll(const std::vector<HANDLE>& streams, const std::wstring& path,
                  FileLayout& layout, RandomBytes& random, const WrittenBytes& written) {
  std::vector<Target> targets;
  for (HANDLE stream : streams) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(stream, &size)) return false;
    targets.push_back({stream, layout.Allocated(stream, path, size.QuadPart)});
    if (!Fits(targets.back())) return false;
  }
  return std::all_of(targets.begin(), targets.end(), [&](const Target& target) {
    return Overwrite(target.stream, target.ranges, &random, written) &&
           Overwrite(target.stream, target.ranges, nullptr, written);
  });
}

// Every named stream opened before any byte is overwritten: all of them, or the file stays.
bool OpenNamed(HANDLE file, const std::wstring& path, FileLayout& layout,
               std::vector<HANDLE>& named) {
  for (const std::wstring& name : layout.Named(file, path)) {
    HANDLE stream = layout.Open(file, path, name);
    if (stream == INVALID_HANDLE_VALUE) return false;
    named.push_back(stream);
  }
  return true;
}

// A random name in the same folder (the one open as `folder`), so the old name is gone before the file is.
bool RenameToRandom(HANDLE file, HANDLE folder, RandomBytes& random) {
  static const wchar_t kChars[] = L"abcdefghijklmnopqrstuvwxyz0123456789";
  for (int attempt = 0; attempt < 3; ++attempt) {
    char bytes[12];
    random.Fill(bytes, sizeof bytes);
    std::wstring name;
    for (char b : bytes) name += kChars[static_cast<unsigned char>(b) % 36];
    name += L".tmp";
    std::vector<char> info(sizeof(FILE_RENAME_INFO) + name.size() * sizeof(wchar_t));
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(info.data());
    rename->ReplaceIfExists = FALSE;
    rename->RootDirectory = folder;
    rename->FileNameLength = static_cast<DWORD>(name.size() * sizeof(wchar_t));
    std::memcpy(rename->FileName, name.data(), rename->FileNameLength);
    // The system call itself: the Win32 one refuses a name relative to a folder's handle.
    IO_STATUS_BLOCK io{};
    if (NT_SUCCESS(NtSetInformationFile(file, &io, rename, static_cast<ULONG>(info.size()),
                                        FileRenameInformation)))
      return true;
  }
  return false;
}

}  // namespace

RandomBytes::RandomBytes() {
  if (!BCRYPT_SUCCESS(BCryptGenRandom(nullptr, reinterpret_cast<UCHAR*>(s_), sizeof s_,
                                      BCRYPT_USE_SYSTEM_PREFERRED_RNG))) {
    // Never seen; the zero pass that follows still leaves no old byte.
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    for (uint64_t& s : s_) s = (s + now.QuadPart) * 0x9E3779B97F4A7C15ull;
  }
  if (!(s_[0] | s_[1] | s_[2] | s_[3])) s_[0] = 1;  // the one state that stays at zero
}

uint64_t RandomBytes::Next() {
  auto rotl = [](uint64_t x, int k) { return (x << k) | (x >> (64 - k)); };
  const uint64_t result = rotl(s_[1] * 5, 7) * 9, t = s_[1] << 17;
  s_[2] ^= s_[0];
  s_[3] ^= s_[1];
  s_[1] ^= s_[2];
  s_[0] ^= s_[3];
  s_[2] ^= t;
  s_[3] = rotl(s_[3], 45);
  return result;
}

void RandomBytes::Fill(char* data, size_t size) {
  for (; size >= 8; data += 8, size -= 8) {
    const uint64_t r = Next();
    std::memcpy(data, &r, 8);
  }
  if (size) {
    const uint64_t r = Next();
    std::memcpy(data, &r, size);
  }
}

std::vector<std::wstring> FileLayout::Named(HANDLE file, const std::wstring&) {
  std::vector<std::wstring> names;
  std::vector<char> buffer(64 * 1024);
  // Fails with no stream to list: a file system without streams (Wine: none at all).
  while (!GetFileInformationByHandleEx(file, FileStreamInfo, buffer.data(),
                                       static_cast<DWORD>(buffer.size()))) {
    if (GetLastError() != ERROR_MORE_DATA || buffer.size() > (16 << 20)) return names;
    buffer.resize(buffer.size() * 2);
  }
  for (const char* at = buffer.data();;) {
    const auto* info = reinterpret_cast<const FILE_STREAM_INFO*>(at);
    std::wstring name(info->StreamName, info->StreamNameLength / sizeof(wchar_t));
    if (!name.empty() && name != L"::$DATA") names.push_back(std::move(name));
    if (!info->NextEntryOffset) break;
    at += info->NextEntryOffset;
  }
  return names;
}

HANDLE FileLayout::Open(HANDLE file, const std::wstring&, const std::wstring& name) {
  return OpenIn(file, name, kWipeAccess, kWipeShare, FILE_NON_DIRECTORY_FILE);
}

std::vector<Range> FileLayout::Allocated(HANDLE stream, const std::wstring&, uint64_t size) {
  std::vector<Range> ranges;
  FILE_ALLOCATED_RANGE_BUFFER query{};
  query.Length.QuadPart = static_cast<LONGLONG>(size);
  std::vector<FILE_ALLOCATED_RANGE_BUFFER> found(64);
  for (;;) {
    DWORD bytes = 0;
    const bool whole = DeviceIoControl(stream, FSCTL_QUERY_ALLOCATED_RANGES, &query, sizeof query,
                                       found.data(), static_cast<DWORD>(found.size() * sizeof found[0]),
                                       &bytes, nullptr);
    if (!whole && GetLastError() != ERROR_MORE_DATA) return {{0, size}};
    const size_t n = bytes / sizeof found[0];
    for (size_t i = 0; i < n; ++i)
      ranges.push_back({static_cast<uint64_t>(found[i].FileOffset.QuadPart),
                        static_cast<uint64_t>(found[i].Length.QuadPart)});
    if (whole || n == 0) return ranges;
    // Asked again from the end of the last range given.
    const uint64_t next = ranges.back().offset + ranges.back().length;
    query.FileOffset.QuadPart = static_cast<LONGLONG>(next);
    query.Length.QuadPart = static_cast<LONGLONG>(size - next);
  }
}

bool DeleteByHandle(HANDLE file) {
  DispositionEx now{kDeleteNow};
  if (SetFileInformationByHandle(file, kDispositionInfoEx, &now, sizeof now)) return true;
  FILE_DISPOSITION_INFO onClose{TRUE};
  return SetFileInformationByHandle(file, FileDispositionInfo, &onClose, sizeof onClose);
}

WipeOutcome WipeFile(HANDLE file, HANDLE folder, const std::wstring& path, RandomBytes& random,
                     const WrittenBytes& written, FileLayout& layout) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(file, &info)) return {WipeResult::NotOpened};
  if (info.nNumberOfLinks > 1) return {WipeResult::SeveralNames};
  std::vector<HANDLE> named;
  WipeOutcome outcome{WipeResult::NotOpened};
  if (OpenNamed(file, path, layout, named)) {
    outcome.result = WipeResult::NotOverwritten;
    std::vector<HANDLE> streams = named;
    streams.push_back(file);
    if (OverwriteAll(streams, path, layout, random, written)) {
      RenameToRandom(file, folder, random);  // a name left behind is no data
      if (Seek(file, 0) && SetEndOfFile(file) && DeleteByHandle(file))
        outcome.result = WipeResult::Wiped;
    } else {
      outcome.error = GetLastError();
    }
  }
  for (HANDLE stream : named) CloseHandle(stream);
  return outcome;
}

// The one call that knows a drive's current folder; it sees no trailing dot or blank.
std::wstring SystemFullPath(const wchar_t* path) {
  wchar_t full[MAX_PATH * 2];
  const DWORD n = GetFullPathNameW(path, MAX_PATH * 2, full, nullptr);
  return n && n < MAX_PATH * 2 ? std::wstring(full, n) : std::wstring();
}

std::wstring FullPath(const std::wstring& given) {
  std::wstring path = given;
  std::replace(path.begin(), path.end(), L'/', L'\\');
  if (path.empty() || path.rfind(L"\\\\?\\", 0) == 0 || path.rfind(L"\\\\.\\", 0) == 0)
    return path;
  size_t rootEnd;  // the length of "C:" or "\\server\share"
  if (path.rfind(L"\\\\", 0) == 0) {
    const size_t server = path.find(L'\\', 2);
    if (server == std::wstring::npos) return L"";
    rootEnd = std::min(path.find(L'\\', server + 1), path.size());
  } else if (path.size() >= 2 && path[1] == L':') {
    if (path.size() == 2 || path[2] != L'\\') {  // "C:name": from the drive's current folder
      const std::wstring base = SystemFullPath(path.substr(0, 2).c_str());
      return base.empty() ? base : FullPath(base + L'\\' + path.substr(2));
    }
    rootEnd = 2;
  } else {
    std::wstring base;
    if (path[0] == L'\\') {
      base = SystemFullPath(L"\\");  // the current drive's root
      path.erase(0, 1);
    } else {
      std::vector<wchar_t> current(GetCurrentDirectoryW(0, nullptr) + 1);
      base.assign(current.data(), GetCurrentDirectoryW(static_cast<DWORD>(current.size()),
                                                       current.data()));
    }
    return base.empty() ? base : FullPath(base + L'\\' + path);
  }
  std::vector<std::wstring> names;
  for (size_t at = rootEnd; at < path.size();) {
    const size_t end = std::min(path.find(L'\\', at + 1), path.size());
    const std::wstring name = path.substr(at + 1, end - at - 1);
    if (name == L"..") {
      if (!names.empty()) names.pop_back();
    } else if (!name.empty() && name != L".") {
      names.push_back(name);
    }
    at = end;
  }
  std::wstring full = path.substr(0, rootEnd);
  for (const std::wstring& name : names) full += L'\\' + name;
  return names.empty() ? full + L'\\' : full;
}

std::wstring LongForm(const std::wstring& path) {
  const std::wstring prefix = L"\\\\?\\";
  if (path.rfind(prefix, 0) == 0) return path;
  if (path.rfind(L"\\\\.\\", 0) == 0) return prefix + path.substr(4);
  std::wstring full = FullPath(path);
  if (full.empty()) return path;
  while (full.size() > 3 && full.back() == L'\\') full.pop_back();
  if (full.rfind(L"\\\\", 0) == 0) return prefix + L"UNC" + full.substr(1);
  return prefix + full;
}

std::wstring ShortForm(const std::wstring& path) {
  if (path.rfind(L"\\\\?\\UNC\\", 0) == 0) return L"\\" + path.substr(7);
  if (path.rfind(L"\\\\?\\", 0) == 0) return path.substr(4);
  return path;
}

}  // namespace shredder
