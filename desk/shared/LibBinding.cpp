#include "LibBinding.h"

#include <map>
#include <string>

#include "forms.h"

FARPROC BindExport(const wchar_t* library, const char* function) {
  static std::map<std::wstring, HMODULE> loaded;
  auto it = loaded.find(library);
  if (it == loaded.end()) {
    std::wstring path = forms::AppPath() + L"\\" + library;
    HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    it = loaded.emplace(library, module).first;
  }
  return it->second ? GetProcAddress(it->second, function) : nullptr;
}
