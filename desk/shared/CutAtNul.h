#pragma once
#include <string>

// Text up to, not including, its first NUL (the whole text when it has none): how library
// buffers, registry texts and dialog results are read.
inline std::wstring CutAtNul(const std::wstring& text) { return text.substr(0, text.find(L'\0')); }
inline std::string CutAtNul(const std::string& text) { return text.substr(0, text.find('\0')); }
