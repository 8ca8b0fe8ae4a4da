#include "ShellFiles.h"

#include <utility>

#include "FileSize.h"
#include "forms.h"

namespace desk {
namespace {

bool HasWildcard(const std::wstring& path) { return path.find_first_of(L"*?") != path.npos; }

// A list of one path for the shell: the path, then two NULs.
std::wstring OnePath(const std::wstring& path) { return path + std::wstring(2, L'\0'); }

ShellOperation& Operation() {
  static ShellOperation operation;
  return operation;
}

int RunShellOperation(SHFILEOPSTRUCTW& op) {
  return Operation() ? Operation()(op) : SHFileOperationW(&op);
}

}  // namespace

ShellOperation SetShellOperation(ShellOperation operation) {
  ShellOperation previous = Operation();
  Operation() = std::move(operation);
  return previous;
}

ShellResult DeleteFileExactly(HWND owner, const std::wstring& path) {
  if (HasWildcard(path)) return ShellResult::Failed;
  const std::wstring from = OnePath(path);
  SHFILEOPSTRUCTW op{};
  op.hwnd = owner;
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_NOCONFIRMATION;
  int result = RunShellOperation(op);
  if (result == 0 && op.fAnyOperationsAborted) return ShellResult::Aborted;
  return result == 0 && !forms::FileExists(path) ? ShellResult::Done : ShellResult::Failed;
}

ShellResult CopyOrMoveFile(HWND owner, const std::wstring& source, const std::wstring& target,
                           bool move) {
  if (HasWildcard(source) || HasWildcard(target)) return ShellResult::Failed;
  const int64_t bytes = FileBytes(source);
  if (bytes < 0) return ShellResult::Failed;
  const std::wstring from = OnePath(source), to = OnePath(target);
  SHFILEOPSTRUCTW op{};
  op.hwnd = owner;
  op.wFunc = move ? FO_MOVE : FO_COPY;
  op.pFrom = from.c_str();
  op.pTo = to.c_str();
  int result = RunShellOperation(op);
  const bool sourceLeft = forms::FileExists(source);
  if (result == 0 && !op.fAnyOperationsAborted && FileBytes(target) == bytes && sourceLeft != move)
    return ShellResult::Done;
  // The source is whole where it was: what reached the target is only a partial copy.
  if (sourceLeft && FileBytes(source) == bytes) DeleteFileW(target.c_str());
  return result == 0 && op.fAnyOperationsAborted ? ShellResult::Aborted : ShellResult::Failed;
}

}  // namespace desk
