// The wipe shell's start: one path, one confirmation, at most one wipe.
#pragma once
#include <string>

#include "ShredControl.h"

namespace shred {

// `arguments` is the command line after the program name. With none, the path comes
// from the browser. No path ends the program silently; a path that names nothing is told.
void ShredMain(const std::wstring& arguments, shredder::ShredControl& control);

}  // namespace shred
