#pragma once
// File deletes, copies and moves through the shell, as the remove and backup dialogs make
// them. Each path goes to the wide call exactly as given; a path holding a wildcard is never
// handed over, since the shell would take it as a pattern and act on other files. The
// shell's own result is not trusted either (a failed move can report success): every
// operation is judged by what is on the disk afterwards.
#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <functional>
#include <string>

namespace desk {

enum class ShellResult { Done, Failed, Aborted };

// The shell's file operation. Tests put one in its place to get answers that Wine does not
// give here (a copy called done over a short target); an empty function restores the shell.
// Returns the previous one.
using ShellOperation = std::function<int(SHFILEOPSTRUCTW& op)>;
ShellOperation SetShellOperation(ShellOperation operation);

// Deletes the file (not to the recycle bin, without a question); Done once it is gone.
ShellResult DeleteFileExactly(HWND owner, const std::wstring& path);

// Copies or moves the file to a new file `target`. Done once the target holds as many bytes
// as the source had and, after a move, the source is gone. Otherwise a target that the
// operation left behind is removed, as long as the source is still there.
ShellResult CopyOrMoveFile(HWND owner, const std::wstring& source, const std::wstring& target,
                           bool move);

}  // namespace desk
