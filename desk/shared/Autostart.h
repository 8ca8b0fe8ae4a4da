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

// The folder setup installed the programs into, when this program runs from it (the same
// folder, compared by identity, not by spelling); "" when it runs from anywhere else. Only
// there can no user but an administrator replace what a logon start runs.
std::wstring InstalledProgramFolder();

enum class AutostartResult { Done, Failed, NotInstalled };

// Sets the Run value `value` under HKCU `key` to the quoted path of `exe` in the installed
// folder and registers its logon task, or deletes both. Setting it from a program that does
// not run from the installed folder registers nothing (NotInstalled); deleting works from
// anywhere. Failed when the value is not as asked afterwards (a delete of a missing value
// counts as done).
AutostartResult SetAutostart(const wchar_t* key, const wchar_t* value, bool on, const wchar_t* exe);

// Tells the user that a logon start was not set: this program is not the installed one.
void TellAutostartNotInstalled();
