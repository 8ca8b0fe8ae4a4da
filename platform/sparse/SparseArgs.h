#pragma once
// The command line of SorvSparse: a path, quoted or bare (a bare one may hold blanks), then
// the size as decimal MiB followed by "M".
#include <cstdint>
#include <optional>
#include <string>

namespace sparse {

struct Args {
  std::wstring path;
  uint64_t bytes = 0;
};

// The arguments after the program's own name; nothing when they are not a path and a size
// of at least 1 MiB (and below 2^43 MiB, so that the byte count fits).
std::optional<Args> ParseArgs(std::wstring_view line);

// The arguments of a whole command line: the program's name (quoted or not) skipped.
std::wstring_view SkipProgramName(std::wstring_view commandLine);

}  // namespace sparse
