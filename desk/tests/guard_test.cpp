// SorvGuard.exe, started as the logon starts it, beside the recording SorvMount.dll.
#include "DeskFixture.h"

namespace {

DWORD RunGuard() {
  const std::wstring exe = forms::AppPath() + L"\\SorvGuard.exe";
  std::wstring line = L"\"" + exe + L"\"";
  STARTUPINFOW si{sizeof si};
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                      &pi))
    return DWORD(-1);
  WaitForSingleObject(pi.hProcess, 30000);
  DWORD code = DWORD(-1);
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
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

}  // namespace
