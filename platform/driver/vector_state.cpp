#include "vector_state.h"

bool VectorStateSavable() { return true; }
bool SaveVectorState(VectorState*) { return true; }
void RestoreVectorState(VectorState*) {}
