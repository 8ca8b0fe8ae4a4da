#include "NewDrive.h"

#include <shlobj.h>

#include <cstdint>

#include "SorvLibs.h"
#include "Wipe.h"
#include "forms.h"

namespace wizard {
namespace {

const wchar_t kTitle[] = L"SorvForge";

// Results are read as 16-bit signed numbers; only 0 is a mount that happened.
bool Failed(int32_t result) { return int16_t(result) < 0; }

int32_t Send(const std::wstring& command) {
  return sorvlib::SorvMount(forms::ToAnsi(command).c_str());
}

FormatRecorder& Recorder() {
  static FormatRecorder recorder = nullptr;
  return recorder;
}

void Log(const std::wstring& line) {
  if (Recorder()) Recorder()(line);
}

// Pauses up to ms with the window messages running; stops early when done() holds.
template <class Done>
bool PumpUntil(Done done, DWORD ms) {
  const ULONGLONG deadline = GetTickCount64() + ms;
  for (;;) {
    if (done()) return true;
    if (GetTickCount64() >= deadline) return false;
    forms::DoEvents();
    Sleep(50);
  }
}

}  // namespace

FormatRecorder SetFormatRecorder(FormatRecorder recorder) {
  FormatRecorder previous = Recorder();
  Recorder() = recorder;
  return previous;
}

std::wstring FreeLetterFromZ() {
  for (wchar_t letter = L'Z'; letter >= L'D'; --letter) {
    std::wstring drive{letter, L':'};
    if (!forms::DriveExists(drive)) return drive;
  }
  return L"";
}

bool WaitForOurDrive(const std::wstring& drive, DWORD ms) {
  wchar_t target[MAX_PATH] = {};
  PumpUntil([&] { return QueryDosDeviceW(drive.c_str(), target, MAX_PATH) != 0; }, ms);
  return std::wstring(target) == OurDevice;
}

void FormatNewDrive(HWND owner, int driveIndex, bool full) {
  const UINT options = full ? SHFMT_OPT_FULL : 0;
  Log(L"format " + std::to_wstring(reinterpret_cast<uintptr_t>(owner)) + L" " +
      std::to_wstring(driveIndex) + L" " + std::to_wstring(options));
  SHFormatDrive(owner, driveIndex, 0, options);
}

void LabelNewDrive(const std::wstring& drive) {
  // The wide call: the ANSI one turns the label into "???" outside code page 936.
  const std::wstring root = drive + L"\\";
  Log(L"label " + root + L" 加密盘");
  SetVolumeLabelW(root.c_str(), L"加密盘");
}

void MountFormatUnmount(HWND owner, const std::wstring& path, const std::string& diskKey) {
  const std::wstring drive = FreeLetterFromZ();
  if (drive.empty()) {
    forms::MsgBox(L"没有可用的盘符，无法加载加密盘。请先释放一个盘符再重试。",
                  MB_OK | MB_ICONEXCLAMATION, L"注意");
    return;
  }
  // Built in ANSI, the form the library takes, so the key is in one copy, wiped after the call.
  std::string command = "/mount 0 " + forms::ToAnsi(path) + " " + forms::ToAnsi(drive) + " ";
  command += diskKey;
  const int32_t mounted = sorvlib::SorvMount(command.c_str());
  Wipe(command);
  // Another drive may have taken the letter meanwhile: only our own device is formatted.
  if (mounted != 0 || !WaitForOurDrive(drive, DriveWaitMs)) {
    forms::MsgBox(L"未知的原因使加载文件失败，请检查后重新尝试一遍", MB_OK, kTitle);
    return;
  }
  ShowWindow(owner, SW_HIDE);
  forms::MsgBox(L"加密盘创建完成，单击“确定”按钮将调用系统格式化程序格式化您创建的加密盘。",
                MB_OK | MB_ICONINFORMATION, L"提醒");
  FormatNewDrive(owner, drive[0] - L'A', true);
  LabelNewDrive(drive);
  if (Failed(Send(L"/umount " + drive)))
    forms::MsgBox(L"未知的原因使卸载文件失败，请检查后重新尝试一遍", MB_OK, kTitle);
  if (PumpUntil([&] { return !forms::DriveExists(drive); }, 2000)) return;
  if (Failed(Send(L"/kill " + drive)))
    forms::MsgBox(L"未知的原因使强行卸载文件失败，请检查后重新尝试一遍", MB_OK, kTitle);
}

}  // namespace wizard
