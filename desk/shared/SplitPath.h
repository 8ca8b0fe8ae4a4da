#pragma once
#include <string>

// Cuts a full path into drive ("C:" or "\\server"), folder with its trailing backslash, file
// name, base name and extension (after the last dot, without it). Drive & Dir & FileName gives
// the path back. A bare "\\server" is all drive.
void SplitPath(const std::wstring& fullPath, std::wstring& drive, std::wstring& dir,
               std::wstring& fileName, std::wstring& baseName, std::wstring& ext);
