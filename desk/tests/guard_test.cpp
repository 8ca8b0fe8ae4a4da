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
