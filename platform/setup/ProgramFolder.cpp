#include "ProgramFolder.h"

#include <aclapi.h>
#include <sddl.h>

#include <cstdio>
#include <cwchar>

namespace setup {

const wchar_t kKeeperFile[] = L"SorvKeeper.dll";
const wchar_t kDriverFile[] = L"SorvDisk.sys";

namespace {

// The files of the system, by name, the driver aside. Nothing else that sits beside setup is
// installed: a library dropped next to it in a download folder would be loaded by the
// programs later.
const wchar_t* const kProductFiles[] = {
    L"SorvDesk.exe",   L"SorvForge.exe", L"start.exe",     L"SorvLink.exe",  L"SorvShred.exe",
    L"SorvSparse.exe", L"SorvGuard.exe", L"SorvSetup.exe", L"SorvCrypt.dll", L"SorvBlock.dll",
    L"SorvProbe.dll",  L"SorvMount.dll", kKeeperFile,      L"tips.dat"};
// Copied when present.
const wchar_t* const kOptionalFiles[] = {L"help.chm"};
// What the programs keep beside them: an earlier installation's container list stays.
const wchar_t* const kKeptFiles[] = {L"List.ini"};

// Owner Administrators; protected list: Administrators and SYSTEM full control, built-in
// users read and execute, each inherited by files and folders below.
constexpr wchar_t kFolderSecurity[] =
    L"O:BAD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)";

// Who may change the program folder: Administrators, SYSTEM, TrustedInstaller, and the
// creator-owner entry, which only gives the creator of a file rights on it (and only
// these create files there).
constexpr const wchar_t* kAdministrators[] = {
    L"S-1-5-32-544", L"S-1-5-18", L"S-1-3-0",
    L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464"};
constexpr ACCESS_MASK kReadExecute =
    FILE_GENERIC_READ | FILE_GENERIC_EXECUTE | GENERIC_READ | GENERIC_EXECUTE;

struct Descriptor {
  PSECURITY_DESCRIPTOR sd = nullptr;
  explicit Descriptor(const wchar_t* sddl) {
    ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &sd, nullptr);
  }
  ~Descriptor() { LocalFree(sd); }
};

bool IsAdministrator(PSID sid) {
  for (const wchar_t* text : kAdministrators) {
    PSID known = nullptr;
    bool same = ConvertStringSidToSidW(text, &known) && EqualSid(sid, known);
    LocalFree(known);
    if (same) return true;
  }
  return false;
}

std::wstring SystemSecurity(HANDLE object) {
  PSECURITY_DESCRIPTOR sd = nullptr;
  if (GetSecurityInfo(object, SE_FILE_OBJECT,
                      OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, nullptr, nullptr,
                      nullptr, nullptr, &sd) != ERROR_SUCCESS)
    return L"";
  wchar_t* text = nullptr;
  std::wstring sddl;
  if (ConvertSecurityDescriptorToStringSecurityDescriptorW(
          sd, SDDL_REVISION_1, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &text,
          nullptr))
    sddl = text;
  LocalFree(text);
  LocalFree(sd);
  return sddl;
}

SecurityReader& Reader() {
  static SecurityReader reader;
  return reader;
}

std::wstring SecurityOf(HANDLE object) {
  return Reader() ? Reader()(object) : SystemSecurity(object);
}

// Opened as itself, not as what a link at the name leads to.
HANDLE OpenEntry(const std::wstring& path, DWORD access, DWORD share) {
  return CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING,
                     FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

// Asked of the open object and of its name: Wine shows a host link only in the latter.
bool IsLink(HANDLE object, const std::wstring& path) {
  BY_HANDLE_FILE_INFORMATION info;
  const DWORD named = GetFileAttributesW(path.c_str());
  return !GetFileInformationByHandle(object, &info) || named == INVALID_FILE_ATTRIBUTES ||
         ((info.dwFileAttributes | named) & FILE_ATTRIBUTE_REPARSE_POINT);
}

template <size_t N>
bool In(const wchar_t* const (&list)[N], const wchar_t* name) {
  for (const wchar_t* known : list)
    if (_wcsicmp(name, known) == 0) return true;
  return false;
}

bool Listed(const wchar_t* name) {
  return In(kProductFiles, name) || In(kOptionalFiles, name) || In(kKeptFiles, name) ||
         _wcsicmp(name, kDriverFile) == 0;
}

// Each entry of an existing folder: one of the system's files, a plain file that only
// administrators change.
FolderResult CheckEntries(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return FolderResult::CannotSecure;
  FolderResult result = FolderResult::Ready;
  do {
    const wchar_t* name = found.cFileName;
    if (!wcscmp(name, L".") || !wcscmp(name, L"..")) continue;
    if (!Listed(name) || (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      fprintf(stderr, "SorvSetup: the folder holds %ls, which setup does not install\n", name);
      result = FolderResult::StrayFile;
      break;
    }
    const std::wstring path = folder + L"\\" + name;
    HANDLE file =
        OpenEntry(path, READ_CONTROL, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    if (file == INVALID_HANDLE_VALUE) {
      result = FolderResult::CannotSecure;
      break;
    }
    const bool link = IsLink(file, path), ours = OnlyAdministratorsChange(SecurityOf(file));
    CloseHandle(file);
    if (link || !ours) {
      fprintf(stderr, "SorvSetup: %ls in the folder may be changed by others\n", name);
      result = link ? FolderResult::Link : FolderResult::OpenToOthers;
      break;
    }
  } while (FindNextFileW(find, &found));
  FindClose(find);
  return result;
}

bool GiveAccessList(HANDLE folder, PSECURITY_DESCRIPTOR sd) {
  BOOL present = FALSE, defaulted = FALSE;
  PACL dacl = nullptr;
  return GetSecurityDescriptorDacl(sd, &present, &dacl, &defaulted) && present &&
         SetSecurityInfo(folder, SE_FILE_OBJECT,
                         DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr,
                         nullptr, dacl, nullptr) == ERROR_SUCCESS;
}

bool Copy(const std::wstring& from, const std::wstring& to, const wchar_t* name) {
  if (CopyFileW((from + name).c_str(), (to + name).c_str(), FALSE)) return true;
  fprintf(stderr, "SorvSetup: cannot copy %ls (error %lu)\n", name, GetLastError());
  return false;
}

}  // namespace

void HeldFolder::Close() {
  if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  handle = INVALID_HANDLE_VALUE;
}

SecurityReader SetSecurityReader(SecurityReader reader) {
  SecurityReader previous = Reader();
  Reader() = std::move(reader);
  return previous;
}

bool OnlyAdministratorsChange(const std::wstring& sddl) {
  // No list at all lets everyone in (Wine reads this text as an empty list instead).
  if (sddl.find(L"NO_ACCESS_CONTROL") != std::wstring::npos) return false;
  Descriptor security(sddl.c_str());
  PSID owner = nullptr;
  BOOL defaulted = FALSE, present = FALSE;
  PACL dacl = nullptr;
  // The owner may always rewrite the access list.
  if (!security.sd || !GetSecurityDescriptorOwner(security.sd, &owner, &defaulted) || !owner ||
      !IsAdministrator(owner) ||
      !GetSecurityDescriptorDacl(security.sd, &present, &dacl, &defaulted) || !present || !dacl)
    return false;
  for (DWORD i = 0; i < dacl->AceCount; ++i) {
    ACE_HEADER* ace = nullptr;
    if (!GetAce(dacl, i, reinterpret_cast<void**>(&ace))) return false;
    if (ace->AceType == ACCESS_DENIED_ACE_TYPE) continue;  // takes rights away only
    if (ace->AceType != ACCESS_ALLOWED_ACE_TYPE) return false;
    auto* allowed = reinterpret_cast<ACCESS_ALLOWED_ACE*>(ace);
    if (!IsAdministrator(&allowed->SidStart) && (allowed->Mask & ~kReadExecute)) return false;
  }
  return true;
}

FolderResult PrepareProgramFolder(const std::wstring& folder, HeldFolder& held) {
  held.Close();
  Descriptor security(kFolderSecurity);
  if (!security.sd) return FolderResult::CannotSecure;
  SECURITY_ATTRIBUTES sa{sizeof sa, security.sd, FALSE};
  const bool made = CreateDirectoryW(folder.c_str(), &sa);
  if (!made && GetLastError() != ERROR_ALREADY_EXISTS) return FolderResult::CannotCreate;
  held.handle = OpenEntry(folder, READ_CONTROL | WRITE_DAC | FILE_READ_ATTRIBUTES,
                          FILE_SHARE_READ | FILE_SHARE_WRITE);
  if (held.handle == INVALID_HANDLE_VALUE) return FolderResult::CannotCreate;
  if (IsLink(held.handle, folder)) return FolderResult::Link;
  if (made) return FolderResult::Ready;
  if (!OnlyAdministratorsChange(SecurityOf(held.handle))) return FolderResult::OpenToOthers;
  const FolderResult entries = CheckEntries(folder);
  if (entries != FolderResult::Ready) return entries;
  return GiveAccessList(held.handle, security.sd) ? FolderResult::Ready
                                                  : FolderResult::CannotSecure;
}

bool CopyProductFiles(const std::wstring& from, const std::wstring& to) {
  bool ok = true;
  for (const wchar_t* name : kProductFiles) ok &= Copy(from, to, name);
  for (const wchar_t* name : kOptionalFiles)
    if (GetFileAttributesW((from + name).c_str()) != INVALID_FILE_ATTRIBUTES)
      ok &= Copy(from, to, name);
  return ok;
}

bool CopyDriverFile(const std::wstring& from, const std::wstring& to) {
  return Copy(from, to, kDriverFile);
}

}  // namespace setup
