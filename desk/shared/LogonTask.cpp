#include "LogonTask.h"

#include <windows.h>
#define SECURITY_WIN32
#include <oleauto.h>
#include <security.h>
#include <taskschd.h>

#include "ComRef.h"

namespace {

// A BSTR for one call.
struct Text {
  BSTR b;
  explicit Text(const std::wstring& s) : b(SysAllocStringLen(s.data(), UINT(s.size()))) {}
  ~Text() { SysFreeString(b); }
  operator BSTR() const { return b; }
};

std::wstring Escaped(const std::wstring& text) {
  std::wstring out;
  for (wchar_t c : text) {
    if (c == L'&')
      out += L"&amp;";
    else if (c == L'<')
      out += L"&lt;";
    else if (c == L'>')
      out += L"&gt;";
    else
      out += c;
  }
  return out;
}

// The scheduler's root folder. Members go in reverse order: the objects before COM.
struct Scheduler {
  ComScope com;
  Ref<ITaskService> service;
  Ref<ITaskFolder> root;

  bool Open() {
    if (FAILED(com.init) && com.init != RPC_E_CHANGED_MODE) return false;
    VARIANT none;
    VariantInit(&none);
    return SUCCEEDED(CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_ITaskService, reinterpret_cast<void**>(&service))) &&
           SUCCEEDED(service->Connect(none, none, none, none)) &&
           SUCCEEDED(service->GetFolder(Text(L"\\"), &root));
  }
};

}  // namespace

std::wstring LogonTaskXml(const std::wstring& user, const std::wstring& program) {
  const std::wstring who = Escaped(user);
  return L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n"
         L"<Task version=\"1.2\" xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">\n"
         L"  <Triggers><LogonTrigger><Enabled>true</Enabled><UserId>" + who +
         L"</UserId></LogonTrigger></Triggers>\n"
         L"  <Principals><Principal id=\"Author\"><UserId>" + who +
         L"</UserId><LogonType>InteractiveToken</LogonType>"
         L"<RunLevel>HighestAvailable</RunLevel></Principal></Principals>\n"
         L"  <Settings><DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>"
         L"<StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>"
         L"<ExecutionTimeLimit>PT0S</ExecutionTimeLimit>"
         L"<MultipleInstancesPolicy>IgnoreNew</MultipleInstancesPolicy></Settings>\n"
         L"  <Actions Context=\"Author\"><Exec><Command>\"" + Escaped(program) +
         L"\"</Command></Exec></Actions>\n"
         L"</Task>\n";
}

std::wstring TaskUser() {
  wchar_t name[512] = {};
  ULONG size = 512;
  if (GetUserNameExW(NameSamCompatible, name, &size)) return name;
  DWORD plain = 512;
  return GetUserNameW(name, &plain) ? name : L"";
}

bool RegisterLogonTask(const std::wstring& name, const std::wstring& xml) {
  Scheduler scheduler;
  Ref<IRegisteredTask> registered;
  if (!scheduler.Open()) return false;
  VARIANT none;
  VariantInit(&none);
  return SUCCEEDED(scheduler.root->RegisterTask(Text(name), Text(xml), TASK_CREATE_OR_UPDATE, none,
                                                none, TASK_LOGON_INTERACTIVE_TOKEN, none,
                                                &registered));
}

bool RemoveLogonTask(const std::wstring& name) {
  Scheduler scheduler;
  if (!scheduler.Open()) return false;
  HRESULT result = scheduler.root->DeleteTask(Text(name), 0);
  return SUCCEEDED(result) || result == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
}
