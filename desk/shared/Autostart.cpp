#include "Autostart.h"

#include <windows.h>

#include "CutAtNul.h"
#include "FileIdentity.h"
#include "LogonTask.h"
#include "Reg.h"
#include "forms.h"

namespace {

LogonTaskSink& Sink() {
  static LogonTaskSink sink;
  return sink;
}

bool SetLogonTask(const std::wstring& name, const std::wstring& xml) {
  if (Sink()) return Sink()(name, xml);
  return xml.empty() ? RemoveLogonTask(name) : RegisterLogonTask(name, xml);
}

}  // namespace

std::wstring InstalledProgramFolder() {
  const std::wstring installed = CutAtNul(GetSetting(InstallFolderValue));
  if (installed.empty()) return L"";
  return IsSame(IdentityAt(installed), IdentityAt(forms::AppPath())) ? installed : L"";
}

void TellAutostartNotInstalled() {
  forms::MsgBox(
      L"没有设置开机自动运行：只有从安装目录启动的程序才能设置开机自动运行。请从安装目录"
      L"启动本程序后再设置。",
      MB_OK | MB_ICONEXCLAMATION, L"注意");
}

LogonTaskSink SetLogonTaskSink(LogonTaskSink sink) {
  LogonTaskSink previous = Sink();
  Sink() = std::move(sink);
  return previous;
}

std::wstring LogonTaskName(const std::wstring& value) {
  wchar_t user[256] = {};
  DWORD size = 256;
  GetUserNameW(user, &size);
  return L"Sorvane " + value + L" " + user;
}

AutostartResult SetAutostart(const wchar_t* key, const wchar_t* value, bool on,
                             const wchar_t* exe) {
  if (on) {
    // What runs at logon with the user's highest rights must be the installed program, which
    // only administrators can replace; its folder is the one setup recorded.
    const std::wstring folder = InstalledProgramFolder();
    if (folder.empty()) return AutostartResult::NotInstalled;
    const std::wstring path = folder + L"\\" + exe;
    // The task is not looked at: the value records the choice, whatever the scheduler says.
    SetLogonTask(LogonTaskName(value), LogonTaskXml(TaskUser(), path));
    // Quoted: unquoted, "C:\Program Files\..." starts a planted C:\Program.exe at logon.
    return SetRegValue(HKEY_CURRENT_USER, key, value, L"\"" + path + L"\"", REG_SZ)
               ? AutostartResult::Done
               : AutostartResult::Failed;
  }
  SetLogonTask(LogonTaskName(value), std::wstring());
  DeleteRegValue(HKEY_CURRENT_USER, key, value);
  DWORD type = 0;
  GetRegValue(HKEY_CURRENT_USER, key, value, type);
  return type == 0 ? AutostartResult::Done : AutostartResult::Failed;
}
