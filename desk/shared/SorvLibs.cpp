#include "SorvLibs.h"

#include "LibBinding.h"
#include "forms.h"

namespace sorvlib {
namespace {

using Text2Out = int32_t __stdcall(const char*, const char*, char*);
using Out = int32_t __stdcall(char*);
using Text1Out = int32_t __stdcall(const char*, char*);
using Text = int32_t __stdcall(const char*);
using BlockWrite = int32_t __stdcall(const char*, int32_t, const char*);
using BlockRead = int32_t __stdcall(const char*, int32_t, char*);

constexpr wchar_t kCrypt[] = L"SorvCrypt.dll";
constexpr wchar_t kBlock[] = L"SorvBlock.dll";
constexpr wchar_t kProbe[] = L"SorvProbe.dll";
constexpr wchar_t kMount[] = L"SorvMount.dll";

template <class Fn, class... Args>
int32_t Call(LazyExport<Fn>& e, Args... args) {
  Fn* fn = e.get();
  return fn ? fn(args...) : -1;
}

}  // namespace

int32_t AESEncryptB64(const char* plain, const char* key, char* out) {
  static LazyExport<Text2Out> e(kCrypt, "AESEncryptB64");
  return Call(e, plain, key, out);
}
int32_t AESDecryptB64(const char* b64, const char* key, char* out) {
  static LazyExport<Text2Out> e(kCrypt, "AESDecryptB64");
  return Call(e, b64, key, out);
}
int32_t GenRandomB64(char* out) {
  static LazyExport<Out> e(kCrypt, "GenRandomB64");
  return Call(e, out);
}
int32_t SHA256Hex(const char* text, char* out) {
  static LazyExport<Text1Out> e(kCrypt, "SHA256Hex");
  return Call(e, text, out);
}
int32_t CVD_InitHeader(const char* path) {
  static LazyExport<Text> e(kBlock, "CVD_InitHeader");
  return Call(e, path);
}
int32_t CVD_VerifyHeader(const char* path) {
  static LazyExport<Text> e(kProbe, "CVD_VerifyHeader");
  return Call(e, path);
}
int32_t CVD_GetVersion(const char* path) {
  static LazyExport<Text> e(kBlock, "CVD_GetVersion");
  return Call(e, path);
}
int32_t CVD_WriteDataBlock(const char* path, int32_t index, const char* text) {
  static LazyExport<BlockWrite> e(kBlock, "CVD_WriteDataBlock");
  return Call(e, path, index, text);
}
int32_t CVD_ReadDataBlock(const char* path, int32_t index, char* out) {
  static LazyExport<BlockRead> e(kBlock, "CVD_ReadDataBlock");
  return Call(e, path, index, out);
}
int32_t SorvMount(const char* commandLine) {
  static LazyExport<Text> e(kMount, "SorvMount");
  SetLastError(ERROR_SUCCESS);
  const int32_t result = Call(e, commandLine);
  // The library gives up after a bounded wait when another program holds its command lock;
  // the user hears why, before the caller's own message about what failed.
  if (result == -1 && GetLastError() == ERROR_TIMEOUT)
    forms::MsgBox(L"另一个程序占用着加密盘的命令通道，等待后仍未释放，本次操作没有执行。"
                  L"请关闭可疑的程序后重试。",
                  MB_ICONEXCLAMATION);
  return result;
}

}  // namespace sorvlib
