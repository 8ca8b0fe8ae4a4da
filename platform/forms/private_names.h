// Names of the product's named objects (its single-instance and command semaphores) that
// only its elevated programs may make or open: inside a private namespace whose boundary
// holds the Administrators SID, so that no program of the user can take a name first.
#pragma once
#include <windows.h>

#include <string>

namespace forms {

// "<namespace>\<name>", or the plain name where the system has no private namespaces
// (Wine 8) or this program may not open it.
std::wstring GuardedName(const wchar_t* name);

// The system's namespace calls, looked up at run time: older systems and Wine 8 lack them
// or answer with nothing (Wine's AddSIDToBoundaryDescriptor even ends the process).
struct NamespaceCalls {
  HANDLE(WINAPI* createBoundary)(LPCWSTR name, ULONG flags);
  BOOL(WINAPI* addSid)(HANDLE* boundary, PSID sid);
  void(WINAPI* deleteBoundary)(HANDLE boundary);
  HANDLE(WINAPI* create)(LPSECURITY_ATTRIBUTES attributes, LPVOID boundary, LPCWSTR alias);
  HANDLE(WINAPI* open)(LPVOID boundary, LPCWSTR alias);
};
// Tests put their own calls here; the namespace is looked for again on the next name.
// Returns the calls before.
NamespaceCalls SetNamespaceCalls(const NamespaceCalls& calls);

// The namespace's alias, the first part of every guarded name.
inline constexpr wchar_t NamespaceAlias[] = L"SorvanePrivate";

}  // namespace forms
