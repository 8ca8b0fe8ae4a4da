#include "private_names.h"

#include <sddl.h>

namespace forms {
namespace {

template <class F>
void Find(HMODULE module, const char* name, F& call) {
  call = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

NamespaceCalls SystemCalls() {
  NamespaceCalls calls{};
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  Find(kernel, "CreateBoundaryDescriptorW", calls.createBoundary);
  Find(kernel, "AddSIDToBoundaryDescriptor", calls.addSid);
  Find(kernel, "DeleteBoundaryDescriptor", calls.deleteBoundary);
  Find(kernel, "CreatePrivateNamespaceW", calls.create);
  Find(kernel, "OpenPrivateNamespaceW", calls.open);
  return calls;
}

// Made by the first elevated program, opened by the others. The handle stays open for
// the process's life: the names inside last only while some process holds it.
bool OpenNamespace(const NamespaceCalls& c) {
  if (!c.createBoundary || !c.addSid || !c.deleteBoundary || !c.create || !c.open) return false;
  HANDLE boundary = c.createBoundary(L"Sorvane", 0);
  if (!boundary) return false;  // Wine 8: nothing more may be called
  BYTE sid[SECURITY_MAX_SID_SIZE];
  DWORD size = sizeof sid;
  HANDLE space = nullptr;
  if (CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, sid, &size) &&
      c.addSid(&boundary, sid)) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, nullptr, FALSE};
    if (ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;GA;;;SY)(A;;GA;;;BA)",
                                                             SDDL_REVISION_1, &descriptor, nullptr))
      attributes.lpSecurityDescriptor = descriptor;
    space = c.create(&attributes, boundary, NamespaceAlias);
    if (!space && GetLastError() == ERROR_ALREADY_EXISTS) space = c.open(boundary, NamespaceAlias);
    if (descriptor) LocalFree(descriptor);
  }
  c.deleteBoundary(boundary);
  return space != nullptr;
}

struct Namespace {
  SRWLOCK lock = SRWLOCK_INIT;
  NamespaceCalls calls = SystemCalls();
  bool looked = false, open = false;
};

Namespace& Shared() {
  static Namespace space;
  return space;
}

}  // namespace

std::wstring GuardedName(const wchar_t* name) {
  Namespace& space = Shared();
  AcquireSRWLockExclusive(&space.lock);
  if (!space.looked) {
    const DWORD error = GetLastError();
    space.open = OpenNamespace(space.calls);
    space.looked = true;
    SetLastError(error);
  }
  const bool open = space.open;
  ReleaseSRWLockExclusive(&space.lock);
  return open ? std::wstring(NamespaceAlias) + L"\\" + name : std::wstring(name);
}

NamespaceCalls SetNamespaceCalls(const NamespaceCalls& calls) {
  Namespace& space = Shared();
  AcquireSRWLockExclusive(&space.lock);
  const NamespaceCalls before = space.calls;
  space.calls = calls;
  space.looked = false;
  ReleaseSRWLockExclusive(&space.lock);
  return before;
}

}  // namespace forms
