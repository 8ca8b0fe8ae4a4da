#include "SendToLink.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <string>
#include <vector>

#include "ComRef.h"
#include "profile_sendto.h"

namespace tray {
namespace {

SendToLookup& Lookup() {
  static SendToLookup lookup;
  return lookup;
}

// A shortcut is a few hundred bytes; anything much bigger is not ours.
constexpr DWORD kMaxLinkBytes = 64 * 1024;

bool ReadAll(HANDLE file, std::vector<BYTE>& bytes) {
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file, &size) || size.QuadPart <= 0 || size.QuadPart > kMaxLinkBytes)
    return false;
  bytes.resize(size_t(size.QuadPart));
  DWORD read = 0;
  return ReadFile(file, bytes.data(), DWORD(bytes.size()), &read, nullptr) &&
         read == bytes.size();
}

// The bytes are a shell link with our description whose target is `drive`.
bool IsOurLink(const std::vector<BYTE>& bytes, const std::wstring& drive) {
  ComScope com;
  Ref<IStream> stream;
  stream.p = SHCreateMemStream(bytes.data(), UINT(bytes.size()));
  Ref<IShellLinkW> link;
  Ref<IPersistStream> persist;
  if (!stream.p ||
      FAILED(
          CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link))) ||
      FAILED(link->QueryInterface(IID_PPV_ARGS(&persist))) || FAILED(persist->Load(stream.p)))
    return false;
  wchar_t description[INFOTIPSIZE] = {}, target[MAX_PATH] = {};
  link->GetDescription(description, INFOTIPSIZE);
  link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
  return std::wstring(description) == LinkDescription && _wcsicmp(target, drive.c_str()) == 0;
}

}  // namespace

SendToLookup SetSendToLookup(SendToLookup lookup) {
  SendToLookup previous = Lookup();
  Lookup() = std::move(lookup);
  return previous;
}

std::wstring UserSendToFolder() {
  std::wstring folder = Lookup() ? Lookup()() : ProfileSendTo();
  while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
  return folder;
}

bool DeleteOurShortcut(const std::wstring& path, const std::wstring& drive) {
  // The handle that is checked is the one that deletes: the name cannot be swapped between.
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | DELETE, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION info{};
  std::vector<BYTE> bytes;
  bool ours = GetFileInformationByHandle(file, &info) &&
              !(info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) &&
              ReadAll(file, bytes) && IsOurLink(bytes, drive);
  FILE_DISPOSITION_INFO dispose{TRUE};
  bool deleted =
      ours && SetFileInformationByHandle(file, FileDispositionInfo, &dispose, sizeof dispose);
  CloseHandle(file);
  return deleted;
}

}  // namespace tray
