#include "createlink.h"

#include <objbase.h>
#include <shlobj.h>

#include <cwchar>
#include <vector>

#include "sendto.h"

namespace {

// The shortcut's bytes, made in memory: the file is written by SaveInSendTo alone.
HRESULT Serialize(IPersistStream* persist, std::vector<BYTE>& bytes) {
  IStream* stream = nullptr;
  HRESULT result = CreateStreamOnHGlobal(nullptr, TRUE, &stream);
  if (FAILED(result)) return result;
  ULARGE_INTEGER size{};
  HGLOBAL memory = nullptr;
  if (SUCCEEDED(result = persist->Save(stream, TRUE)) &&
      SUCCEEDED(result = stream->Seek({}, STREAM_SEEK_CUR, &size)) &&
      SUCCEEDED(result = GetHGlobalFromStream(stream, &memory))) {
    const BYTE* data = static_cast<const BYTE*>(GlobalLock(memory));
    bytes.assign(data, data + size.QuadPart);
    GlobalUnlock(memory);
  }
  stream->Release();
  return result;
}

}  // namespace

HRESULT CreateLink(const wchar_t* target, const wchar_t* linkPath, const wchar_t* description) {
  if (wcslen(linkPath) >= MAX_PATH) return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);

  CoInitialize(nullptr);
  IShellLinkW* link = nullptr;
  HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                    reinterpret_cast<void**>(&link));
  if (FAILED(result)) return result;
  link->SetPath(target);
  link->SetDescription(description);

  IPersistStream* persist = nullptr;
  result = link->QueryInterface(IID_IPersistStream, reinterpret_cast<void**>(&persist));
  if (FAILED(result)) {
    link->Release();
    return result;
  }
  std::vector<BYTE> bytes;
  result = Serialize(persist, bytes);
  if (SUCCEEDED(result)) result = SaveInSendTo(linkPath, bytes);
  if (result != S_OK) MessageBoxW(nullptr, L"IPersistFile->Save() Error", L"Error", MB_OK);
  persist->Release();
  link->Release();
  return result;
}
