#pragma once
// tips.dat: one tip a line, in the ANSI code page. Line ends may be CR LF, LF or CR; line
// breaks at the end of the file (blank lines there) start no further tip.
#include <string>

// Line lineNo (from 1) of the file; "" when it has no such line or cannot be read.
std::wstring GetTips(const std::wstring& tipsPath, int lineNo);
// The number of tips (lines), 0 for a missing or empty file; at most 32767.
int AllLineNumber(const std::wstring& tipsPath);
