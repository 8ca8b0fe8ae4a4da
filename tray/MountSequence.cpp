#include "MountSequence.h"

#include <windows.h>

#include <cstdint>
#include <string>

#include "Autostart.h"
#include "CutAtNul.h"
#include "DiskKey.h"
#include "DriveChoice.h"
#include "HotKey.h"
#include "QuitUnmount.h"
#include "Reg.h"
#include "SendToLink.h"
#include "SorvCtl.h"
#include "SorvLibs.h"
#include "SysTray.h"
#include "TrayLinks.h"
#include "TrayState.h"
#include "TrayWindowProc.h"
#include "Wipe.h"
#include "forms.h"

namespace tray {
namespace {

bool Failed(int32_t result) { return int16_t(result) < 0; }

void StoreChoices(const MountChoice& choice) {
  SetRegValue(HKEY_LOCAL_MACHINE, SettingsKey, L"DriveLetter", choice.driveText, REG_SZ);
  if (SetAutostart(AutostartRunKey, SRStartValue, choice.autostart, L"start.exe") ==
      AutostartResult::NotInstalled)
    TellAutostartNotInstalled();  // and IsAutoMount keeps saying what is
  else
    SetSetting(L"IsAutoMount", choice.autostart ? L"1" : L"0");
}

void Refuse(const wchar_t* text, UINT icon, const wchar_t* title) {
  forms::MsgBox(text, MB_OK | icon, title);
}

const wchar_t kBlockUnreadable[] =
    L"不能读取密码，加密盘文件可能当前被占用、被保护或者被破坏，确认后重试一次。";

// A data block as text: the library fills 64 bytes of a cleared 128-byte buffer.
bool ReadBlock(const std::string& path, int index, std::string& text) {
  std::string buffer(128, '\0');
  int32_t result = sorvlib::CVD_ReadDataBlock(path.c_str(), index, buffer.data());
  text = CutAtNul(buffer);
  return !Failed(result);
}

}  // namespace

bool MountContainer(const MountChoice& choice, SorvCtl& verifier) {
  StoreChoices(choice);
  MountedDrive = DriveForChoice(choice.driveText, choice.lastEntry);
  if (MountedDrive.empty()) {
    Refuse(L"没有可用的盘符，无法加载加密盘。请先释放一个盘符再重试。", MB_ICONEXCLAMATION,
           L"注意");
    return false;
  }

  const std::wstring path = CutAtNul(GetSetting(L"Path"));
  const std::string ansiPath = forms::ToAnsi(path);
  if (path.empty() || !forms::FileExists(path)) {
    Refuse(L"在当前路径下没有找到加密盘文件，请先确认文件还存在", MB_ICONERROR, L"错误");
    return false;
  }
  if (Failed(sorvlib::CVD_VerifyHeader(ansiPath.c_str()))) {
    Refuse(
        L"无法读取加密盘文件。可能的原因可能是文件被损坏或者仍旧处于保护状态或者是老版本的文件，请"
        L"确认后重试。",
        MB_ICONERROR, L"错误");
    return false;
  }

  verifier.SetPassword(choice.password);
  const std::string typed = forms::ToAnsi(CutAtNul(verifier.Verifier()));
  std::string block1;
  if (!ReadBlock(ansiPath, 1, block1)) {
    Refuse(kBlockUnreadable, MB_ICONINFORMATION, L"注意");
    return false;
  }
  if (choice.password.empty()) {
    Refuse(L"请输入密码！", MB_ICONEXCLAMATION, L"注意");
    return false;
  }
  if (typed != block1) {
    Refuse(L"您输入的密码不对，请重新输入", MB_ICONEXCLAMATION, L"错误");
    return false;
  }
  std::string block2;
  if (!ReadBlock(ansiPath, 2, block2)) {
    Refuse(kBlockUnreadable, MB_ICONINFORMATION, L"注意");
    return false;
  }

  std::string key(64, '\0'), password = forms::ToAnsi(choice.password);
  sorvlib::AESDecryptB64(block2.c_str(), password.c_str(), key.data());
  Wipe(password);
  key.resize(std::min(key.find('\0'), key.size()));
  // A damaged block 2 unwraps to bytes that are no key: mounting with them would show the
  // data as an unformatted drive, inviting a format over it.
  if (!IsDiskKey(key)) {
    Wipe(key);
    Refuse(kBlockUnreadable, MB_ICONINFORMATION, L"注意");
    return false;
  }

  std::string command =
      "/mount 0 \"" + ansiPath + "\" " + forms::ToAnsi(MountedDrive) + " " + key;
  const int32_t mounted = sorvlib::SorvMount(command.c_str());
  Wipe(key);
  Wipe(command);
  if (Failed(mounted)) {
    forms::MsgBox(L"未知的原因使加载文件失败，请检查后重新尝试一遍", MB_OK, ProgramTitle);
    return false;
  }
  return true;
}

void EnterTray(forms::Form& form, forms::Menu& menu) {
  HWND hwnd = form.hWnd();
  NOTIFYICONDATAA first = BalloonRecord(hwnd, MountedDrive);
  form.Hide();
  NotifyIcon(NIM_ADD, first);

  OldWindowProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TrayWindowProc)));
  AttachTrayMenu(form, menu);
  SetTrayTip(DriveTip());

  HotKeySetting hotKey = ReadHotKeySetting();
  if (hotKey.enabled) {
    HotKeyId = 1;
    HotKeyModifiers = hotKey.modifiers;
    HotKeyVKey = hotKey.vkey;
    RegisterHotKey(hwnd, HotKeyId, HotKeyModifiers, HotKeyVKey);
    TrayIconShown = true;
  }

  SendToLinkName = L"加密盘" + MountedDrive.substr(0, 1) + L".lnk";
  MountedDrive += L"\\";
  // Without a SendTo folder there is no place for the shortcut.
  if (!SendToFolder.empty())
    forms::Shell(ProgramFile(L"SorvLink.exe") + L" " + MountedDrive + L" \"" + SendToLinkPath() +
                     L"\" " + LinkDescription,
                 forms::WindowStyle::Hide);
}

}  // namespace tray
