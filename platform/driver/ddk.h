// The mingw-w64 DDK headers, made to agree with intrin.h, plus what they lack.
#pragma once

#include <intrin.h>
// wdm.h defines these again; keep its copies under other names.
#define InterlockedBitTestAndSet DdkInterlockedBitTestAndSet
#define InterlockedBitTestAndReset DdkInterlockedBitTestAndReset
#include <ntifs.h>
#undef InterlockedBitTestAndSet
#undef InterlockedBitTestAndReset

// Windows 8 on: a mapping that never holds code.
#ifndef MdlMappingNoExecute
#define MdlMappingNoExecute 0x40000000
#endif
