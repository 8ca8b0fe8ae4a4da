#include "Protection.h"

#include <cstdint>

#include "CutAtNul.h"
#include "Reg.h"
#include "SorvLibs.h"
#include "forms.h"

std::wstring FreeDriveLetter() {
  for (wchar_t letter = L'C'; letter <= L'Z'; ++letter) {
    std::wstring drive{letter, L':'};
    if (!forms::DriveExists(drive)) return drive;
  }
  return L"Z:";
}

namespace {

// The callers read the library's result as a 16-bit signed number.
bool Failed(int32_t result) { return int16_t(result) < 0; }

}  // namespace

void ProtectCvdFile() {
  const std::wstring drive = FreeDriveLetter();
  const std::wstring path = CutAtNul(GetSetting(L"Path"));
  if (path.empty()) return;
  const std::wstring command = L"/lockfile 0 " + drive + L" \"" + path + L"\"";
  if (Failed(sorvlib::SorvMount(forms::ToAnsi(command).c_str())))
    forms::MsgBox(L"未知的原因使加载文件保护失败，请检查后重新尝试一遍", MB_OK);
}

void UnprotectCvdFile() {
  const std::wstring command = L"/unlockfile 0 " + FreeDriveLetter();
  if (Failed(sorvlib::SorvMount(forms::ToAnsi(command).c_str())))
    forms::MsgBox(L"未知的原因使取消文件保护失败，请检查后重新尝试一遍", MB_OK);
}
