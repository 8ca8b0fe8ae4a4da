#pragma once
// Overwrites a text that held a secret before its memory goes back to the heap.
#include <windows.h>

#include <string>

#include "wipebytes.h"

template <class Char>
void Wipe(std::basic_string<Char>& text) {
  text.resize(text.capacity());
  Wipe(text.data(), text.size() * sizeof(Char));
  text.clear();
}

// Wipes the text when the scope that holds it ends, whichever way it is left.
template <class Char>
struct WipeOnExit {
  std::basic_string<Char>& text;
  ~WipeOnExit() { Wipe(text); }
};

// Overwrites a text box's own buffer with blanks of the same length, then empties it.
inline void WipeBox(HWND box) {
  const int length = GetWindowTextLengthW(box);
  if (length > 0) SetWindowTextW(box, std::wstring(size_t(length), L' ').c_str());
  SetWindowTextW(box, L"");
}
