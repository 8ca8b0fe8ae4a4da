#pragma once
// What setup puts where: the program folder, made safe for programs that run as administrator,
// and the fixed list of the system's own files copied into it.
#include <string>

namespace setup {

enum class FolderResult { Ready, CannotCreate, ForeignOwner, CannotSecure };

// Creates `folder` owned by Administrators with its own access list (Administrators and
// SYSTEM full control, users read and execute, nothing inherited), or takes an existing one
// when Administrators own it and gives it that list. One that others own is refused: its
// owner could put programs into it.
FolderResult PrepareProgramFolder(const std::wstring& folder);

// Copies the system's files, a fixed list, from folder `from` into folder `to` (both ending
// in "\"); nothing else that sits beside setup. False when one of them is missing or cannot
// be copied (each failure is printed).
bool CopyProductFiles(const std::wstring& from, const std::wstring& to);

}  // namespace setup
