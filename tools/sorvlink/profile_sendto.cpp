#include "profile_sendto.h"

#include <windows.h>
#include <userenv.h>

std::wstring ProfileSendTo() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
  wchar_t profile[MAX_PATH];
  DWORD length = MAX_PATH;
  bool known = GetUserProfileDirectoryW(token, profile, &length);
  CloseHandle(token);
  return known ? profile + std::wstring(kSendToInProfile) : std::wstring();
}
