#pragma once
// The exports of our libraries as the programs call them, bound lazily by name.
// A missing library or export reads as failure (-1); output buffers are then left alone.
#include <cstdint>

namespace sorvlib {

int32_t AESEncryptB64(const char* plain, const char* key, char* out);
int32_t AESDecryptB64(const char* b64, const char* key, char* out);
int32_t GenRandomB64(char* out);
int32_t SHA256Hex(const char* text, char* out);

int32_t CVD_InitHeader(const char* path);
int32_t CVD_VerifyHeader(const char* path);  // the one in SorvProbe
int32_t CVD_GetVersion(const char* path);
int32_t CVD_WriteDataBlock(const char* path, int32_t index, const char* text);
int32_t CVD_ReadDataBlock(const char* path, int32_t index, char* out);

int32_t SorvMount(const char* commandLine);

}  // namespace sorvlib
