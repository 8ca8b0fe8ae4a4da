// A service library for setup's tests, in two builds. The planted one leaves a mark when it
// is loaded; the installed one writes each call beside itself and installs nothing.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

HMODULE self;

void Note(const char* line) {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(self, path, MAX_PATH);
  std::string log(path, n);
  log = log.substr(0, log.find_last_of('\\') + 1) + "keeper-calls.txt";
  if (FILE* f = fopen(log.c_str(), "a")) {
    fprintf(f, "%s\n", line);
    fclose(f);
  }
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, void*) {
  self = module;
  if (reason == DLL_PROCESS_ATTACH) Note(KEEPER_BUILD " loaded");
  return TRUE;
}

extern "C" int __stdcall SRSorvKeeper() {
  Note("SRSorvKeeper");
  return 1;
}

extern "C" int __stdcall SRCreateService(const char* driver) {
  Note((std::string("SRCreateService ") + driver).c_str());
  return 1;
}
