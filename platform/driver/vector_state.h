// The registers beyond SSE (YMM, ZMM, the AVX-512 masks) belong to the thread that was
// running: kernel code saves them before it touches them. A program needs nothing: the
// system switches them with the thread. vector_state.cpp is the program's side,
// vector_state_kernel.cpp the driver's.
#pragma once

struct VectorState {
  alignas(16) unsigned char area[128];
};

// Whether the vector registers can be saved here at all; call once at PASSIVE_LEVEL
// before the others (the driver looks up the kernel's routines then).
bool VectorStateSavable();
// Saves the vector registers; when it fails they must not be touched.
bool SaveVectorState(VectorState* state);
void RestoreVectorState(VectorState* state);
