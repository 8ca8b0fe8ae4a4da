#pragma once
// The management program's pictures, drawn once: the eight buttons' 24 x 24 icons, the
// list's container icons and the status bar's picture.
#include <windows.h>

namespace desk {

enum class Glyph {
  Create,
  Delete,
  Import,
  Mount,
  Option,
  Password,
  Backup,
  About,
  Container,
  Current
};

// Drawn on first use and kept for the program's run.
HICON DeskIcon(Glyph glyph, int size);

}  // namespace desk
