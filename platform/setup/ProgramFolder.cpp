#include "ProgramFolder.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <cstdio>

namespace setup {

namespace {

// The files of the system, by name. Nothing else that sits beside setup is installed: a
// library dropped next to it in a download folder would be loaded by the programs later.
const wchar_t* const kProductFiles[] = {
    L"SorvDesk.exe",  L"SorvForge.exe", L"start.exe",     L"SorvLink.exe",   L"SorvShred.exe",
    L"SorvSparse.exe", L"SorvGuard.exe", L"SorvSetup.exe", L"SorvCrypt.dll",  L"SorvBlock.dll",
    L"SorvProbe.dll", L"SorvMount.dll", L"SorvKeeper.dll", L"SorvDisk.sys",   L"tips.dat"};
// Copied when present.
const wchar_t* const kOptionalFiles[] = {L"help.chm"};

// Owner Administrators; protected list: Administrators and SYSTEM full control, built-in
// users read and execute, each inherited by files and folders below.
constexpr wchar_t kFolderSecurity[] =
    L"O:BAD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)";

struct Descriptor {
  PSECURITY_DESCRIPTOR sd = nullptr;
  Descriptor() {
    ConvertStringSecurityDescriptorToSecurityDescriptorW(kFolderSecurity, SDDL_REVISION_1, &sd,
                                                         nullptr);
  }
  ~Descriptor() { LocalFree(sd); }
};

bool OwnedByAdministrators(const std::wstring& folder) {
  PSID owner = nullptr;
  PSECURITY_DESCRIPTOR sd = nullptr;
  if (GetNamedSecurityInfoW(folder.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner,
                            nullptr, nullptr, nullptr, &sd) != ERROR_SUCCESS)
    return false;
  BYTE admins[SECURITY_MAX_SID_SIZE];
  DWORD size = sizeof admins;
  bool ours = CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, admins, &size) &&
              owner && EqualSid(owner, admins);
  LocalFree(sd);
  return ours;
}

bool GiveAccessList(const std::wstring& folder, PSECURITY_DESCRIPTOR sd) {
  BOOL present = FALSE, defaulted = FALSE;
  PACL dacl = nullptr;
  return GetSecurityDescriptorDacl(sd, &present, &dacl, &defaulted) && present &&
         SetNamedSecurityInfoW(const_cast<wchar_t*>(folder.c_str()), SE_FILE_OBJECT,
                               DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                               nullptr, nullptr, dacl, nullptr) == ERROR_SUCCESS;
}

bool Copy(const std::wstring& from, const std::wstring& to, const wchar_t* name) {
  if (CopyFileW((from + name).c_str(), (to + name).c_str(), FALSE)) return true;
  fprintf(stderr, "SorvSetup: cannot copy %ls (error %lu)\n", name, GetLastError());
  return false;
}

}  // namespace

FolderResult PrepareProgramFolder(const std::wstring& folder) {
  Descriptor security;
  if (!security.sd) return FolderResult::CannotSecure;
  SECURITY_ATTRIBUTES sa{sizeof sa, security.sd, FALSE};
  if (CreateDirectoryW(folder.c_str(), &sa)) return FolderResult::Ready;
  if (GetLastError() != ERROR_ALREADY_EXISTS) return FolderResult::CannotCreate;
  if (!OwnedByAdministrators(folder)) return FolderResult::ForeignOwner;
  return GiveAccessList(folder, security.sd) ? FolderResult::Ready : FolderResult::CannotSecure;
}

bool CopyProductFiles(const std::wstring& from, const std::wstring& to) {
  bool ok = true;
  for (const wchar_t* name : kProductFiles) ok &= Copy(from, to, name);
  for (const wchar_t* name : kOptionalFiles)
    if (GetFileAttributesW((from + name).c_str()) != INVALID_FILE_ATTRIBUTES)
      ok &= Copy(from, to, name);
  return ok;
}

}  // namespace setup
