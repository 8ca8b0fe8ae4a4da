#include "Browse.h"

#include <shlobj.h>

#include "PathText.h"

namespace shred {

std::wstring BrowseForFolderOrFile(HWND owner, const std::wstring& title) {
  wchar_t name[MAX_PATH] = {};
  BROWSEINFOW info{};
  info.hwndOwner = owner;
  info.pszDisplayName = name;
  info.lpszTitle = title.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_BROWSEINCLUDEURLS | BIF_BROWSEINCLUDEFILES;
  PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&info);
  if (!item) return L"";
  wchar_t path[MAX_PATH] = {};
  if (!SHGetPathFromIDListW(item, path)) path[0] = 0;
  CoTaskMemFree(item);
  return Trimmed(path);
}

}  // namespace shred
