#pragma once
// What setup puts where: the program folder, made safe for programs that run as administrator,
// and the fixed list of the system's own files copied into it.
#include <windows.h>

#include <functional>
#include <string>

namespace setup {

enum class FolderResult { Ready, CannotCreate, OpenToOthers, Link, StrayFile, CannotSecure };

// The program folder, held open without delete sharing from its check to the end of setup,
// so that nobody renames it or puts a link in its place meanwhile.
class HeldFolder {
 public:
  HeldFolder() = default;
  HeldFolder(const HeldFolder&) = delete;
  HeldFolder& operator=(const HeldFolder&) = delete;
  ~HeldFolder() { Close(); }
  void Close();
  HANDLE handle = INVALID_HANDLE_VALUE;
};

// Creates `folder` owned by Administrators with its own access list (Administrators and
// SYSTEM full control, users read and execute, nothing inherited), or takes an existing one
// when only administrators can change it and what it holds, and gives it that list. Refused:
// a link; a folder or file in it that others own or may change; anything in it that setup
// does not install (the container list the programs keep beside them excepted).
FolderResult PrepareProgramFolder(const std::wstring& folder, HeldFolder& held);

// True when a descriptor (as SDDL: owner and access list) lets only administrators change
// the object: owner Administrators or SYSTEM, and every other allowed entry at most read and
// execute.
bool OnlyAdministratorsChange(const std::wstring& sddl);

// Reads an open object's owner and access list as SDDL. Tests put a reader in its place
// (Wine keeps neither); an empty function restores the system's. Returns the previous one.
using SecurityReader = std::function<std::wstring(HANDLE)>;
SecurityReader SetSecurityReader(SecurityReader reader);

// Copies the system's programs and libraries (the driver aside), a fixed list, from folder
// `from` into folder `to` (both ending in "\"); nothing else that sits beside setup. False
// when one of them is missing or cannot be copied (each failure is printed).
bool CopyProductFiles(const std::wstring& from, const std::wstring& to);
// The same for the driver file, which a running driver may hold until it is removed.
bool CopyDriverFile(const std::wstring& from, const std::wstring& to);

// The service library of the program folder, loaded once and kept.
extern const wchar_t kKeeperFile[];
extern const wchar_t kDriverFile[];

}  // namespace setup
