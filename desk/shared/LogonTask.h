#pragma once
// Logon tasks in the Task Scheduler's root folder, for the current user.
#include <string>

// The task definition: at `user`'s logon, run `program` (a full path, quoted here) in the
// user's session with the highest privileges the user has, for as long as it runs.
std::wstring LogonTaskXml(const std::wstring& user, const std::wstring& program);
// The current user as the scheduler names it ("DOMAIN\user").
std::wstring TaskUser();

// Creates or replaces the task `name` from its definition; true when registered.
bool RegisterLogonTask(const std::wstring& name, const std::wstring& xml);
// Deletes the task `name`; true when it is not there afterwards.
bool RemoveLogonTask(const std::wstring& name);
