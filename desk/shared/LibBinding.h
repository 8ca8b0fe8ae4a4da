#pragma once
// Our libraries are bound by name on first call: loaded from the program folder (never from
// the search path, so a stray copy elsewhere is not picked up), the address kept afterwards.
#include <windows.h>

// The export's address, or null when the library or the export is missing.
FARPROC BindExport(const wchar_t* library, const char* function);

template <class Fn>
class LazyExport {
 public:
  constexpr LazyExport(const wchar_t* library, const char* function)
      : library_(library), function_(function) {}
  Fn* get() {
    if (!tried_) {
      fn_ = reinterpret_cast<Fn*>(reinterpret_cast<void*>(BindExport(library_, function_)));
      tried_ = true;
    }
    return fn_;
  }

 private:
  const wchar_t* library_;
  const char* function_;
  Fn* fn_ = nullptr;
  bool tried_ = false;
};
