// SorvProbe.dll: the header check the programs call; a file under 8 bytes fails.
#include "header.h"

extern "C" int __stdcall CVD_VerifyHeader(const char* path) { return header::Verify(path, false); }
