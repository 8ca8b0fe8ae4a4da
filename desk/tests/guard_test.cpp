// SorvGuard.exe, started as the logon starts it, beside the recording SorvMount.dll.
#include "DeskFixture.h"
#include "Processes.h"

namespace {

DWORD RunGuard() {
  testsupport::Program guard(L"SorvGuard.exe");
  guard.Exited(30000);
  DWORD code = DWORD(-1);
  GetExitCodeProcess(guard.info.hProcess, &code);
  return code;
}

// As the per-user Run value starts it under UAC: the user's token, in which Administrators
// only denies.
DWORD RunGuardAsPlainUser() {
  HANDLE own = nullptr, plain = nullptr;
  BYTE sid[SECURITY_MAX_SID_SIZE];
  DWORD size = sizeof sid;
  SID_AND_ATTRIBUTES administrators{sid, 0};
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ALL_ACCESS, &own) ||
      !CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, sid, &size) ||
      !CreateRestrictedToken(own, 0, 1, &administrators, 0, nullptr, 0, nullptr, &plain)) {
    ADD_FAILURE() << "no restricted token: " << GetLastError();
    return DWORD(-1);
  }
  std::wstring line = L"\"" + forms::AppPath() + L"\\SorvGuard.exe\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  DWORD code = DWORD(-1);
  if (CreateProcessAsUserW(plain, nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                           nullptr, &si, &pi)) {
    if (WaitForSingleObject(pi.hProcess, 30000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  } else {
    ADD_FAILURE() << "SorvGuard.exe did not start: " << GetLastError();
  }
  CloseHandle(plain);
  CloseHandle(own);
  return code;
}

using GuardTest = DeskFixture;

TEST_F(GuardTest, GuardsTheCurrentContainerOnlyWhenProtectionIsOn) {
  const std::wstring path = dir / L"a b.cvd";
  SetSetting(L"Path", path);
  const std::pair<const wchar_t*, bool> rows[] = {{L"1", true}, {L"0", false}, {L"", false}};
  for (auto [setting, guarded] : rows) {
    SetSetting(L"IsProtectFile", setting);
    DeleteFileW(mountLog.c_str());
    EXPECT_EQ(RunGuard(), 0u);
    const std::string log = ReadBytes(mountLog);
    EXPECT_EQ(log.rfind("/lockfile 0 ", 0) == 0, guarded) << log;
    if (guarded) EXPECT_NE(log.find(" \"" + forms::ToAnsi(path) + "\"\n"), std::string::npos);
    if (!guarded) EXPECT_EQ(log, "");
  }
}

// Without administrator rights the driver cannot be reached: that copy ends at once and
// quietly (a message box would keep it running), and sends nothing.
TEST_F(GuardTest, APlainUsersCopyLeavesTheGuardingToTheElevatedOne) {
  SetSetting(L"Path", dir / L"a b.cvd");
  SetSetting(L"IsProtectFile", L"1");
  DeleteFileW(mountLog.c_str());
  EXPECT_EQ(RunGuardAsPlainUser(), 0u);
  EXPECT_EQ(ReadBytes(mountLog), "");
}

}  // namespace
