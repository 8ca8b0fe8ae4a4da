// SorvGuard.exe: the logon program. With protection on (setting IsProtectFile "1") it asks
// the driver to guard the current container file, and ends.
#include <windows.h>

#include "CutAtNul.h"
#include "Protection.h"
#include "Reg.h"

namespace {

// Only an administrator's token reaches the driver. The per-user Run value starts this
// program with the user's plain token beside the logon task that starts it elevated;
// that copy leaves the guarding to the other rather than report a failure at every logon.
bool RunsAsAdministrator() {
  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
  PSID administrators = nullptr;
  if (!AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0,
                                0, 0, 0, 0, 0, &administrators))
    return false;
  BOOL member = FALSE;
  if (!CheckTokenMembership(nullptr, administrators, &member)) member = FALSE;
  FreeSid(administrators);
  return member;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);  // no current folder, no PATH
  if (!RunsAsAdministrator()) return 0;
  if (CutAtNul(GetSetting(L"IsProtectFile")) == L"1") ProtectCvdFile();
  return 0;
}
