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

bool SetLogonTask(const std::wstring& name, const std::wstring& program, bool on) {
  if (Sink()) return Sink()(name, program, on);
  return on ? RegisterLogonTask(name, program) : RemoveLogonTask(name);
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
  SetLogonTask(LogonTaskName(value), forms::AppPath() + L"\\" + exe, on);
  if (on) return SetRegValue(HKEY_CURRENT_USER, key, value, program, REG_SZ);
  DeleteRegValue(HKEY_CURRENT_USER, key, value);
  DWORD type = 0;
  GetRegValue(HKEY_CURRENT_USER, key, value, type);
  return type == 0;
}
