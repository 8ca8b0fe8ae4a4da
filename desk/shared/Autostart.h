#pragma once
// The logon starts: the per-user Run values SRStart and SRProtect, and the logon tasks that
// actually start the programs. Windows starts no program that asks for administrator rights
// from a Run value, and SorvGuard needs them to reach the driver, so each value is paired with
// a task of the same name that runs its program with the user's highest privileges.
#include <functional>
#include <string>

// The Task Scheduler's part: register the logon task `name` from its definition (the
// scheduler's XML, see LogonTask.h), or remove it when the definition is empty. Tests put a
// recorder in its place; an empty function restores the scheduler. Returns the previous one.
using LogonTaskSink = std::function<bool(const std::wstring& name, const std::wstring& xml)>;
LogonTaskSink SetLogonTaskSink(LogonTaskSink sink);

// The task's name for a Run value: "Sorvane SRStart user".
std::wstring LogonTaskName(const std::wstring& value);

// Sets the Run value `value` under HKCU `key` to the quoted path of `exe` in the program
// folder and registers its logon task, or deletes both. True when the value is as asked
// afterwards (a delete of a missing value counts as done).
bool SetAutostart(const wchar_t* key, const wchar_t* value, bool on, const wchar_t* exe);
