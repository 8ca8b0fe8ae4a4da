// The path to wipe as the user gave it on the command line.
#pragma once
#include <string>

namespace shred {

// Without leading and trailing blanks (spaces and tabs).
std::wstring Trimmed(const std::wstring& text);

// The command line's argument text as a path: blanks trimmed, then one enclosing pair of
// double quotes removed (a path with a blank comes quoted); what the quotes hold is kept as
// it is, a name's trailing blank too.
std::wstring PathFromCommandLine(const std::wstring& arguments);

}  // namespace shred
