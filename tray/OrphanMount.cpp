#include "OrphanMount.h"

#include <windows.h>

#include <cstdint>
#include <string>

#include "Protection.h"
#include "QuitUnmount.h"
#include "SorvLibs.h"
#include "forms.h"

namespace tray {
namespace {

// The query's answer for a device with a letter: the letter itself.
bool IsLetter(int32_t answer) { return answer >= 'A' && answer <= 'Z'; }

const wchar_t kLeftMounted[] = L"上次运行的“启动Velkiro”程序没有正常退出，加密盘";

}  // namespace

void SettleOrphanedMount() {
  const int32_t served =
      sorvlib::SorvMount(forms::ToAnsi(L"/query 0 " + FreeDriveLetter()).c_str());
  if (int16_t(served) <= 0) return;  // nothing served, or no driver to ask
  if (!IsLetter(served)) {
    forms::MsgBox(L"上次运行的“启动Velkiro”程序没有正常退出，加密盘仍处于加载状态，但找不到它的"
                  L"盘符，无法卸载。请重新启动计算机后再加载加密盘。",
                  MB_OK | MB_ICONERROR, L"错误");
    return;
  }
  const std::wstring drive{wchar_t(served), L':'};
  // Nobody is left to close what is open on it: the forced unmount follows at once.
  if (!UnmountOrForce(drive)) {
    forms::MsgBox(std::wstring(kLeftMounted) + drive +
                      L"仍处于加载状态，且无法卸载。请关闭正在使用该盘的程序，或者重新启动计算机后"
                      L"再加载加密盘。",
                  MB_OK | MB_ICONERROR, L"错误");
    return;
  }
  forms::MsgBox(std::wstring(kLeftMounted) + drive + L"一直处于加载状态，现已将其卸载。",
                MB_OK | MB_ICONINFORMATION, L"注意");
}

}  // namespace tray
