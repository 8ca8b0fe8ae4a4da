#pragma once
// Overwrites a text that held a secret before its memory goes back to the heap.
#include <windows.h>

#include <string>

template <class Char>
void Wipe(std::basic_string<Char>& text) {
  text.resize(text.capacity());
  SecureZeroMemory(text.data(), text.size() * sizeof(Char));
  text.clear();
}

// Wipes the text when the scope that holds it ends, whichever way it is left.
template <class Char>
struct WipeOnExit {
  std::basic_string<Char>& text;
  ~WipeOnExit() { Wipe(text); }
};
