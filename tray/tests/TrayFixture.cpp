#include "TrayFixture.h"

#include <fstream>

#include "CutAtNul.h"
#include "SorvCtl.h"
#include "SorvLibs.h"

TrayFixture::TrayFixture() {
  srStart_ = GetRegValue(HKEY_CURRENT_USER, AutostartRunKey, SRStartValue, srStartType_);
  SetSetting(L"TipsOfDay", L"0");
  SetEnv("SORV_MOUNT_RESULT", nullptr);
  SetEnv("SORV_BLOCK_READ_FAIL", nullptr);
  ClearMountCommands();
  tray::ResetState();
  oldResponder_ = forms::SetMsgBoxResponder([this](const forms::MsgBoxCall& call) {
    boxes.push_back(call);
    int answer = answers.empty() ? IDOK : answers.front();
    if (!answers.empty()) answers.pop_front();
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
  if (srStartType_)
    SetRegValue(HKEY_CURRENT_USER, AutostartRunKey, SRStartValue, srStart_, REG_SZ);
  else
    DeleteRegValue(HKEY_CURRENT_USER, AutostartRunKey, SRStartValue);
}

void TrayFixture::Show() {
  SetSetting(L"Path", path);
  form.Show();
  ASSERT_FALSE(tray::ProgramEnded);
  ClearMountCommands();
}

void TrayFixture::Ok(const std::wstring& password) {
  form.Text1.Text(password);
  boxes.clear();
  SendMessageW(form.Command1.hWnd(), BM_CLICK, 0, 0);
}

void TrayFixture::ExpectBox(size_t i, const std::wstring& text, const std::wstring& title,
                            UINT icon) {
  ASSERT_GT(boxes.size(), i) << Ansi(text);
  EXPECT_EQ(boxes[i].prompt, text);
  EXPECT_EQ(boxes[i].title, title);
  EXPECT_EQ(boxes[i].Icon(), icon);
}

std::vector<std::string> TrayFixture::MountCommands() {
  std::ifstream in(Ansi(forms::AppPath() + L"\\mount-commands.txt"));
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

void TrayFixture::ClearMountCommands() {
  DeleteFileW((forms::AppPath() + L"\\mount-commands.txt").c_str());
}

std::string TrayFixture::MakeContainer(const std::wstring& file, const std::string& password,
                                       long long bytes) {
  MakeFile(file, bytes);
  const std::string ansi = Ansi(file);
  EXPECT_EQ(sorvlib::CVD_InitHeader(ansi.c_str()), 0);
  SorvCtl ctl;
  ctl.SetPassword(forms::FromAnsi(password));
  EXPECT_EQ(sorvlib::CVD_WriteDataBlock(ansi.c_str(), 1, Ansi(ctl.Verifier()).c_str()), 0);
  std::string diskKey(32, '\0'), wrapped(128, '\0');
  sorvlib::GenRandomB64(diskKey.data());
  sorvlib::AESEncryptB64(CutAtNul(diskKey).c_str(), password.c_str(), wrapped.data());
  EXPECT_EQ(sorvlib::CVD_WriteDataBlock(ansi.c_str(), 2, CutAtNul(wrapped).c_str()), 0);
  return CutAtNul(diskKey).substr(0, 16);
}
