#include "Autostart.h"

#include <windows.h>

#include "LogonTask.h"
#include "ProgramFile.h"
#include "Reg.h"

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

bool SetAutostart(const wchar_t* key, const wchar_t* value, bool on, const wchar_t* exe) {
  // Quoted: unquoted, "C:\Program Files\..." starts a planted C:\Program.exe at logon.
  const std::wstring program = ProgramFile(exe);
  // The task is not looked at: the value records the choice, whatever the scheduler says.
  SetLogonTask(LogonTaskName(value),
               on ? LogonTaskXml(TaskUser(), forms::AppPath() + L"\\" + exe) : std::wstring());
  if (on) return SetRegValue(HKEY_CURRENT_USER, key, value, program, REG_SZ);
  DeleteRegValue(HKEY_CURRENT_USER, key, value);
  DWORD type = 0;
  GetRegValue(HKEY_CURRENT_USER, key, value, type);
  return type == 0;
}
