// The kernel's extended-state save for the vector cipher. Looked up by name: Windows 7
// SP1 and later export it; Wine 8 does not, and a driver that imported it would not load
// there. Without it the cipher keeps to the SSE registers.
#include "ddk.h"
#include "vector_state.h"

namespace {

using SaveRoutine = NTSTATUS(NTAPI*)(ULONG64 mask, PXSTATE_SAVE save);
using RestoreRoutine = VOID(NTAPI*)(PXSTATE_SAVE save);
SaveRoutine save;
RestoreRoutine restore;

PVOID Routine(PCWSTR name) {
  UNICODE_STRING text;
  RtlInitUnicodeString(&text, name);
  return MmGetSystemRoutineAddress(&text);
}

// AVX's upper halves of YMM, and AVX-512's masks and ZMM, where the system enabled them.
ULONG64 VectorMask() {
  ULONG low, high;
  __asm__ volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
  return ((static_cast<ULONG64>(high) << 32) | low) & 0xe4;
}

}  // namespace

static_assert(sizeof(XSTATE_SAVE) <= sizeof(VectorState::area), "XSTATE_SAVE fits");

bool VectorStateSavable() {
  if (!save) {
    auto s = reinterpret_cast<SaveRoutine>(Routine(L"KeSaveExtendedProcessorState"));
    auto r = reinterpret_cast<RestoreRoutine>(Routine(L"KeRestoreExtendedProcessorState"));
    if (s && r) {
      restore = r;
      save = s;
    }
  }
  return save != nullptr;
}

bool SaveVectorState(VectorState* state) {
  return save && NT_SUCCESS(save(VectorMask(), reinterpret_cast<PXSTATE_SAVE>(state->area)));
}

void RestoreVectorState(VectorState* state) {
  restore(reinterpret_cast<PXSTATE_SAVE>(state->area));
}
