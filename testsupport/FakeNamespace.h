// A private namespace where the system has none (Wine 8): stand-in namespace calls that
// make a directory of the session's named objects under the namespace's alias, so that
// names inside it are real and apart from the plain ones. Plain names come back with it.
#pragma once
#include <windows.h>
#include <sddl.h>
#include <winternl.h>

#include <cwchar>
#include <string>
#include <vector>

#include "private_names.h"

extern "C" NTSTATUS NTAPI NtCreateDirectoryObject(PHANDLE, ACCESS_MASK, POBJECT_ATTRIBUTES);

namespace testsupport {

class FakeNamespace {
 public:
  // What the boundary was given, as SID strings.
  static inline std::vector<std::string> boundarySids;

  FakeNamespace() : before_(forms::SetNamespaceCalls({Boundary, AddSid, Delete, Create, Open})) {
    boundarySids.clear();
  }
  ~FakeNamespace() { forms::SetNamespaceCalls(before_); }

 private:
  static HANDLE WINAPI Boundary(LPCWSTR, ULONG) { return reinterpret_cast<HANDLE>(1); }
  static BOOL WINAPI AddSid(HANDLE*, PSID sid) {
    char* text = nullptr;
    if (ConvertSidToStringSidA(sid, &text)) boundarySids.push_back(text);
    LocalFree(text);
    return TRUE;
  }
  static void WINAPI Delete(HANDLE) {}
  // Kept open by the caller for its life, as a real namespace handle is.
  static HANDLE WINAPI Create(LPSECURITY_ATTRIBUTES, LPVOID, LPCWSTR alias) {
    DWORD session = 0;
    ProcessIdToSessionId(GetCurrentProcessId(), &session);
    wchar_t path[128];
    swprintf(path, 128, L"\\Sessions\\%lu\\BaseNamedObjects\\%ls", session, alias);
    UNICODE_STRING name;
    RtlInitUnicodeString(&name, path);
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &name, OBJ_OPENIF, nullptr, nullptr);
    HANDLE directory = nullptr;
    return NtCreateDirectoryObject(&directory, 0xF000F, &attributes) >= 0 ? directory : nullptr;
  }
  static HANDLE WINAPI Open(LPVOID, LPCWSTR) { return nullptr; }

  forms::NamespaceCalls before_;
};

}  // namespace testsupport
