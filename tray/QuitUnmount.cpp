#include "QuitUnmount.h"

#include <windows.h>

#include <cstdint>

#include "SendToLink.h"
#include "SorvLibs.h"
#include "TrayState.h"
#include "forms.h"

namespace tray {
namespace {

bool Failed(int32_t result) { return int16_t(result) < 0; }

// About six seconds for the drive to vanish after the unmount command.
bool DriveGoneWithinChecks() {
  Sleep(1000);
  for (int check = 0; check < 5; ++check) {
    if (!forms::DriveExists(MountedDrive)) return true;
    Sleep(1000);
  }
  return false;
}

}  // namespace

bool AskAndUnmount() {
  if (forms::MsgBox(L"单击Y将退出程序并卸载虚拟盘，单击N将返回程序。", MB_YESNO | MB_ICONQUESTION,
                    L"要退出程序吗？") != IDYES)
    return false;
  sorvlib::SorvMount(forms::ToAnsi(L"/umount " + MountedDrive).c_str());
  if (!DriveGoneWithinChecks()) {
    std::wstring question = L"程序检测到加密盘" + MountedDrive +
                            L"处于被占用状态，如果现在退出可能会丢失数据。"
                            L"建议您先关闭占用虚拟盘的程序再选择退出。\r\n\r\n"
                            L"是否仍要现在退出程序？";
    if (forms::MsgBox(question, MB_YESNO | MB_ICONQUESTION, L"Velkiro") != IDYES) return false;
    if (Failed(sorvlib::SorvMount(forms::ToAnsi(L"/kill " + MountedDrive).c_str())))
      forms::MsgBox(L"未知的原因使强行卸载文件失败，请检查后重新尝试一遍", MB_OK, ProgramTitle);
  }
  return true;
}

bool UnmountOrForce(const std::wstring& drive) {
  if (Failed(sorvlib::SorvMount(forms::ToAnsi(L"/umount " + drive).c_str())) ||
      forms::DriveExists(drive))
    sorvlib::SorvMount(forms::ToAnsi(L"/kill " + drive).c_str());
  return !forms::DriveExists(drive);
}

void UnmountForSessionEnd() {
  if (UnmountOrForce(MountedDrive)) DeleteSendToLink();
}

std::wstring SendToLinkPath() {
  if (SendToFolder.empty() || SendToLinkName.empty()) return {};
  return SendToFolder + L"\\" + SendToLinkName;
}

void DeleteSendToLink() {
  std::wstring path = SendToLinkPath();
  if (!path.empty()) DeleteOurShortcut(path, MountedDrive);
}

}  // namespace tray
