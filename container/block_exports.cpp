// SorvBlock.dll: the container header functions, undecorated through SorvBlock.def.
#include "header.h"

extern "C" {

int __stdcall CVD_InitHeader(const char* path) { return header::Init(path); }

// A second header check that reads 1024 bytes and zero-extends a short file.
int __stdcall CVD_VerifyHeader(const char* path) { return header::Verify(path, true); }

int __stdcall CVD_GetVersion(const char* path) { return header::Version(path); }

int __stdcall CVD_WriteDataBlock(const char* path, int index, const char* text) {
  return header::WriteBlock(path, index, text);
}

int __stdcall CVD_ReadDataBlock(const char* path, int index, char* out) {
  return header::ReadBlock(path, index, out);
}

}  // extern "C"
