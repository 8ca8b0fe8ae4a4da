#include "TrayFixture.h"

#include <cstdio>

#include "CutAtNul.h"
#include "SorvCtl.h"
#include "SorvLibs.h"

namespace {

std::wstring MountLog() { return forms::AppPath() + L"\\mount-commands.txt"; }

}  // namespace

TrayFixture::TrayFixture() {
  DWORD type = 0;
  srStart_ = GetRegValue(HKEY_CURRENT_USER, AutostartRunKey, SRStartValue, type);
  hadSrStart_ = type != 0;
  SetSetting(L"TipsOfDay", L"0");
  SetEnv("SORV_MOUNT_RESULT", nullptr);
  SetEnv("SORV_BLOCK_READ_FAIL", nullptr);
  ClearMountCommands();
  tray::ResetState();
  oldResponder_ = forms::SetMsgBoxResponder([this](const forms::MsgBoxCall& call) {
    boxes.push_back(call);
    if (answers.empty()) return IDOK;
    int answer = answers.front();
    answers.pop_front();
    return answer;
  });
  oldLauncher_ = forms::SetLauncher([this](const std::wstring& line, forms::WindowStyle style) {
    starts.push_back({line, style});
    return DWORD(1);
  });
  oldSink_ = tray::SetNotifyIconSink([this](DWORD message, const NOTIFYICONDATAA& data) {
    icons.push_back({message, data});
    return TRUE;
  });
}

TrayFixture::~TrayFixture() {
  forms::SetMsgBoxResponder(oldResponder_);
  forms::SetLauncher(oldLauncher_);
  tray::SetNotifyIconSink(oldSink_);
  if (tray::SemaphoreHandle) CloseHandle(tray::SemaphoreHandle);
  tray::ResetState();
  if (hadSrStart_)
    SetRegValue(HKEY_CURRENT_USER, AutostartRunKey, SRStartValue, srStart_, REG_SZ);
  else
    DeleteRegValue(HKEY_CURRENT_USER, AutostartRunKey, SRStartValue);
  SetEnv("SORV_MOUNT_RESULT", nullptr);
  SetEnv("SORV_BLOCK_READ_FAIL", nullptr);
}

std::vector<std::string> TrayFixture::MountCommands() {
  std::vector<std::string> lines;
  FILE* f = _wfopen(MountLog().c_str(), L"rb");
  if (!f) return lines;
  std::string all;
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, f)) > 0;) all.append(buffer, n);
  fclose(f);
  for (size_t start = 0, end; (end = all.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(all.substr(start, end - start));
  return lines;
}

void TrayFixture::ClearMountCommands() { DeleteFileW(MountLog().c_str()); }

std::string TrayFixture::MakeContainer(const std::wstring& path, const std::string& password,
                                       long long bytes) {
  MakeFile(path, bytes);
  const std::string ansiPath = Ansi(path);
  EXPECT_EQ(sorvlib::CVD_InitHeader(ansiPath.c_str()), 0);
  SorvCtl ctl;
  ctl.SetPassword(forms::FromAnsi(password));
  EXPECT_EQ(sorvlib::CVD_WriteDataBlock(ansiPath.c_str(), 1, Ansi(ctl.Verifier()).c_str()), 0);
  std::string diskKey(32, '\0'), wrapped(128, '\0');
  sorvlib::GenRandomB64(diskKey.data());
  sorvlib::AESEncryptB64(CutAtNul(diskKey).c_str(), password.c_str(), wrapped.data());
  EXPECT_EQ(sorvlib::CVD_WriteDataBlock(ansiPath.c_str(), 2, CutAtNul(wrapped).c_str()), 0);
  return CutAtNul(diskKey).substr(0, 16);
}
