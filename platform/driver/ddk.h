// The mingw-w64 DDK headers, made to agree with intrin.h, plus what ntddk.h lacks.
#pragma once

#include <intrin.h>
// wdm.h defines these again; keep its copies under other names.
#define InterlockedBitTestAndSet DdkInterlockedBitTestAndSet
#define InterlockedBitTestAndReset DdkInterlockedBitTestAndReset
#include <ntddk.h>
#undef InterlockedBitTestAndSet
#undef InterlockedBitTestAndReset

extern "C" NTSYSAPI NTSTATUS NTAPI ZwFlushBuffersFile(HANDLE file, PIO_STATUS_BLOCK io);
