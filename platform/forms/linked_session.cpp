#include "linked_session.h"

namespace forms {
namespace {

DWORD LettersOfLinkedToken() {
  HANDLE own = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &own)) return 0;
  TOKEN_LINKED_TOKEN linked{};
  DWORD size = 0;
  const BOOL got = GetTokenInformation(own, TokenLinkedToken, &linked, sizeof linked, &size);
  CloseHandle(own);
  if (!got || !linked.LinkedToken) return 0;
  // Only this thread takes the other token, and gives it back before anything else runs.
  HANDLE before = nullptr;
  OpenThreadToken(GetCurrentThread(), TOKEN_IMPERSONATE, TRUE, &before);
  DWORD letters = 0;
  if (ImpersonateLoggedOnUser(linked.LinkedToken)) {
    letters = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
      const wchar_t name[] = {wchar_t(L'A' + i), L':', 0};
      wchar_t target[MAX_PATH];
      if (QueryDosDeviceW(name, target, MAX_PATH) || GetLastError() == ERROR_INSUFFICIENT_BUFFER)
        letters |= 1u << i;
    }
    if (!SetThreadToken(nullptr, before)) RevertToSelf();
  }
  if (before) CloseHandle(before);
  CloseHandle(linked.LinkedToken);
  return letters;
}

DriveLetterSource& Source() {
  static DriveLetterSource source = LettersOfLinkedToken;
  return source;
}

}  // namespace

DWORD LinkedSessionDrives() { return Source()(); }

DriveLetterSource SetLinkedSessionSource(DriveLetterSource source) {
  DriveLetterSource before = Source();
  Source() = source;
  return before;
}

}  // namespace forms
