#include "createlink.h"

#include <objbase.h>
#include <shlobj.h>

HRESULT CreateLink(const char* target, const char* linkPath, const char* description) {
  // The wide path must fit MAX_PATH with its terminator.
  int wideLength = MultiByteToWideChar(CP_ACP, 0, linkPath, -1, nullptr, 0);
  if (wideLength == 0 || wideLength > MAX_PATH)
    return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);

  CoInitialize(nullptr);
  IShellLinkA* link = nullptr;
  HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                    reinterpret_cast<void**>(&link));
  if (FAILED(result)) return result;
  link->SetPath(target);
  link->SetDescription(description);

  IPersistFile* file = nullptr;
  result = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
  if (FAILED(result)) {
    link->Release();
    return result;
  }
  wchar_t widePath[MAX_PATH] = {};
  MultiByteToWideChar(CP_ACP, 0, linkPath, -1, widePath, MAX_PATH);
  result = file->Save(widePath, TRUE);
  if (result != S_OK) MessageBoxW(nullptr, L"IPersistFile->Save() Error", L"Error", MB_OK);
  file->Release();
  link->Release();
  return result;
}
