#pragma once
#include <string>
// The folder of the running program, without a trailing backslash.
std::wstring ProgramFolder();
