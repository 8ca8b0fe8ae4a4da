// The logon tasks against the system's own Task Scheduler (Wine keeps them in its tasks folder
// too; it never starts them).
#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "LogonTask.h"

namespace {

bool TaskStored(const std::wstring& name) {
  wchar_t system[MAX_PATH] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  return GetFileAttributesW((std::wstring(system) + L"\\Tasks\\" + name).c_str()) !=
         INVALID_FILE_ATTRIBUTES;
}

// Registered, replaced and removed; the calling thread's COM is left as it was found, so a
// later caller may still choose its own apartment there.
TEST(LogonTask, RegistersReplacesRemovesAndGivesComBack) {
  const std::wstring name = L"Sorvane logon task test";
  HRESULT later = E_FAIL;
  std::thread([&] {
    RemoveLogonTask(name);
    EXPECT_FALSE(TaskStored(name));
    const std::wstring xml = LogonTaskXml(TaskUser(), L"C:\\Program Files\\A & B\\start.exe");
    EXPECT_TRUE(RegisterLogonTask(name, xml));
    EXPECT_TRUE(RegisterLogonTask(name, xml));  // replaced
    EXPECT_TRUE(TaskStored(name));
    EXPECT_TRUE(RemoveLogonTask(name));
    EXPECT_FALSE(TaskStored(name));
    EXPECT_TRUE(RemoveLogonTask(name));  // not there: as asked
    later = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (SUCCEEDED(later)) CoUninitialize();
  }).join();
  EXPECT_EQ(later, S_OK);
}

}  // namespace
