#pragma once
// What setup puts where: the program folder, made safe for programs that run as administrator,
// and the fixed list of the system's own files copied into it.
#include <string>

namespace setup {

// The files of the system, by name. Nothing else that sits beside setup is installed: a
// library dropped next to it in a download folder would be loaded by the programs later.
extern const wchar_t* const ProductFiles[];
// Copied when present.
extern const wchar_t* const OptionalFiles[];

enum class FolderResult { Ready, CannotCreate, ForeignOwner, CannotSecure };

// Creates `folder` owned by Administrators with its own access list (Administrators and
// SYSTEM full control, users read and execute, nothing inherited), or takes an existing one
// when Administrators own it and gives it that list. One that others own is refused: its
// owner could put programs into it.
FolderResult PrepareProgramFolder(const std::wstring& folder);

// Copies the product's files from folder `from` into folder `to` (both ending in "\").
// False when one of them is missing or cannot be copied (each failure is printed).
bool CopyProductFiles(const std::wstring& from, const std::wstring& to);

}  // namespace setup
