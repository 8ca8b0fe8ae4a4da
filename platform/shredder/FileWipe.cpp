#include "FileWipe.h"

#include <bcrypt.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace shredder {
namespace {

constexpr DWORD kBlock = 1 << 20;
constexpr DWORD kAccess = GENERIC_READ | GENERIC_WRITE | DELETE;
constexpr DWORD kShare = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// FILE_DISPOSITION_INFO_EX of Windows 10: the name goes at once, even while others
// hold the file open, so that its folder can go too. Older systems refuse it.
struct DispositionEx {
  ULONG Flags;
};
constexpr ULONG kDeleteNow = 0x1 | 0x2;  // FILE_DISPOSITION_FLAG_DELETE | POSIX_SEMANTICS
constexpr auto kDispositionInfoEx = static_cast<FILE_INFO_BY_HANDLE_CLASS>(21);

bool Rewind(HANDLE file) {
  LARGE_INTEGER zero{};
  return SetFilePointerEx(file, zero, nullptr, FILE_BEGIN);
}

// One pass over `size` bytes from the start, random or zero, flushed to the disk.
bool Overwrite(HANDLE file, uint64_t size, RandomBytes* random, const WrittenBytes& written) {
  std::vector<char> block(static_cast<size_t>(size < kBlock ? size : kBlock));
  if (!Rewind(file)) return false;
  for (uint64_t left = size; left;) {
    const DWORD n = left < kBlock ? static_cast<DWORD>(left) : kBlock;
    if (random) random->Fill(block.data(), n);
    DWORD done = 0;
    if (!WriteFile(file, block.data(), n, &done, nullptr) || done != n) return false;
    left -= n;
    written(n);
  }
  return FlushFileBuffers(file);
}

bool OverwriteTwice(HANDLE file, RandomBytes& random, const WrittenBytes& written) {
  LARGE_INTEGER size{};
  return GetFileSizeEx(file, &size) && Overwrite(file, size.QuadPart, &random, written) &&
         Overwrite(file, size.QuadPart, nullptr, written);
}

// Every named stream opened before any byte is overwritten: all of them, or the file stays.
bool OpenNamed(const std::wstring& path, Streams& streams, std::vector<HANDLE>& named) {
  for (const std::wstring& name : streams.Named(path)) {
    HANDLE stream = streams.Open(path, name);
    if (stream == INVALID_HANDLE_VALUE) return false;
    named.push_back(stream);
  }
  return true;
}

std::wstring FolderOf(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

// A random name beside the file, so the old name is gone before the file is.
bool RenameToRandom(HANDLE file, const std::wstring& path, RandomBytes& random) {
  static const wchar_t kChars[] = L"abcdefghijklmnopqrstuvwxyz0123456789";
  for (int attempt = 0; attempt < 3; ++attempt) {
    char bytes[12];
    random.Fill(bytes, sizeof bytes);
    std::wstring name = FolderOf(path);
    for (char b : bytes) name += kChars[static_cast<unsigned char>(b) % 36];
    name += L".tmp";
    std::vector<char> info(sizeof(FILE_RENAME_INFO) + name.size() * sizeof(wchar_t));
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(info.data());
    rename->ReplaceIfExists = FALSE;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>(name.size() * sizeof(wchar_t));
    std::memcpy(rename->FileName, name.data(), rename->FileNameLength);
    if (SetFileInformationByHandle(file, FileRenameInfo, rename, static_cast<DWORD>(info.size())))
      return true;
  }
  return false;
}

bool DeleteByHandle(HANDLE file) {
  DispositionEx now{kDeleteNow};
  if (SetFileInformationByHandle(file, kDispositionInfoEx, &now, sizeof now)) return true;
  FILE_DISPOSITION_INFO onClose{TRUE};
  return SetFileInformationByHandle(file, FileDispositionInfo, &onClose, sizeof onClose);
}

// The file for the wipe, never what a link (made since the folder was read) points to.
// Others may keep the file open if they share it fully: they read the overwritten bytes.
HANDLE OpenOwnData(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), kAccess, kShare, nullptr, OPEN_EXISTING,
                            FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  FILE_ATTRIBUTE_TAG_INFO tag{};
  if (file == INVALID_HANDLE_VALUE ||
      !GetFileInformationByHandleEx(file, FileAttributeTagInfo, &tag, sizeof tag) ||
      !(tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
    return file;
  CloseHandle(file);
  if (IsReparseTagNameSurrogate(tag.ReparseTag)) return INVALID_HANDLE_VALUE;
  // A deduplicated or cloud file: its data is reached through its own driver.
  return CreateFileW(path.c_str(), kAccess, kShare, nullptr, OPEN_EXISTING, 0, nullptr);
}

bool SetAttributes(HANDLE file, FILE_BASIC_INFO basic, DWORD attributes) {
  basic.FileAttributes = attributes;
  return SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof basic);
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

std::vector<std::wstring> Streams::Named(const std::wstring& path) {
  std::vector<std::wstring> names;
  WIN32_FIND_STREAM_DATA found;
  // Fails with no stream to list: a file system without streams, or (Wine) none at all.
  HANDLE find = FindFirstStreamW(path.c_str(), FindStreamInfoStandard, &found, 0);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    if (std::wstring(found.cStreamName) != L"::$DATA") names.push_back(found.cStreamName);
  } while (FindNextStreamW(find, &found));
  FindClose(find);
  return names;
}

HANDLE Streams::Open(const std::wstring& path, const std::wstring& name) {
  return CreateFileW((path + name).c_str(), kAccess, kShare, nullptr, OPEN_EXISTING, 0, nullptr);
}

WipeResult WipeFile(const std::wstring& path, RandomBytes& random, const WrittenBytes& written,
                    Streams& streams) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
    return WipeResult::NotOpened;
  if (attributes & FILE_ATTRIBUTE_READONLY)
    SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  HANDLE file = OpenOwnData(path);
  BY_HANDLE_FILE_INFORMATION info{};
  std::vector<HANDLE> named;
  WipeResult result = WipeResult::NotOpened;
  const bool opened = file != INVALID_HANDLE_VALUE && GetFileInformationByHandle(file, &info);
  if (opened && info.nNumberOfLinks > 1) {
    result = WipeResult::SeveralNames;
  } else if (opened && OpenNamed(path, streams, named) &&
             std::all_of(named.begin(), named.end(),
                         [&](HANDLE stream) { return OverwriteTwice(stream, random, written); }) &&
             OverwriteTwice(file, random, written)) {
    RenameToRandom(file, path, random);  // a name left behind is no data
    if (Rewind(file) && SetEndOfFile(file) && DeleteByHandle(file)) result = WipeResult::Wiped;
  }
  for (HANDLE stream : named) CloseHandle(stream);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  if (result != WipeResult::Wiped && (attributes & FILE_ATTRIBUTE_READONLY))
    SetFileAttributesW(path.c_str(), attributes);
  return result;
}

bool RemoveLink(const std::wstring& path) {
  HANDLE link = CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                            kShare, nullptr, OPEN_EXISTING,
                            FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (link == INVALID_HANDLE_VALUE) return false;
  FILE_BASIC_INFO basic{};
  bool removed = false;
  if (GetFileInformationByHandleEx(link, FileBasicInfo, &basic, sizeof basic) &&
      (basic.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    const DWORD attributes = basic.FileAttributes;
    const bool readOnly = attributes & FILE_ATTRIBUTE_READONLY;
    if (readOnly) SetAttributes(link, basic, attributes & ~FILE_ATTRIBUTE_READONLY);
    removed = DeleteByHandle(link);
    if (!removed && readOnly) SetAttributes(link, basic, attributes);
  }
  CloseHandle(link);
  return removed;
}

std::wstring FullPath(const std::wstring& path) {
  if (path.empty()) return path;
  std::vector<wchar_t> full(MAX_PATH);
  for (;;) {
    const DWORD n =
        GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (n == 0) return L"";
    if (n < full.size()) return std::wstring(full.data(), n);
    full.resize(n);
  }
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
