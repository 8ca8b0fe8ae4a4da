// No exception may cross a window procedure: an error that escapes an event handler ends
// that handler with a message, and the program goes on.
#pragma once
#include <exception>

namespace forms {

void ReportUncaught(const char* what);

// Runs f; false when it threw (reported already).
template <class F>
bool Guarded(F&& f) {
  try {
    f();
    return true;
  } catch (const std::exception& e) {
    ReportUncaught(e.what());
  } catch (...) {
    ReportUncaught("unknown error");
  }
  return false;
}

}  // namespace forms
