#pragma once
// Conversions to and from the system ANSI code page, for the A-form APIs and library exports.
#include <string>

std::string ToAnsi(const std::wstring& text);
std::wstring FromAnsi(const std::string& text);
// Text up to, not including, its first NUL (the whole text when it has none).
std::wstring CutAtNul(const std::wstring& text);
std::string CutAtNul(const std::string& text);
