#pragma once
// Making a new container: the file at its full size (zero fill or a sparse file made by
// SorvSparse), then the header and the two data blocks. Shared by the management program's
// create dialog and the wizard; each caller shows its own progress and its own messages.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

namespace making {

// Where a caller shows how far the file is: a window of its own, or labels of its form.
class Progress {
 public:
  virtual ~Progress() = default;
  virtual void Begin() {}
  // 0..100; called at most about a hundred times.
  virtual void Percent(int percent) = 0;
  virtual void End() {}
};

enum class FileResult {
  Made,           // the file exists at its full size, made by us
  Exists,         // a file of that name appeared meanwhile: left alone
  CannotCreate,   // the file could not be created (folder missing, no rights, bad name)
  WriteFailed,    // a write or the flush failed: the partial file is deleted again
  SparseMissing,  // SorvSparse.exe is not there or does not start
  SparseFailed,   // SorvSparse failed, did not end in time, or left a file of another size
};

// Writes the file new, mib MiB of zeros in 1024-byte writes, yielding to the message loop
// after each write. Never overwrites: a file that exists is left alone.
FileResult WriteZeroFile(const std::wstring& path, int32_t mib, Progress& progress);

// Starts sparseExe (its path is quoted on the command line, and so is `path`) in a minimised
// window, runs the progress animation, then waits for it to end (pumping messages, bounded by
// SparseWaitMs) and checks its exit code and the file's length. A missing folder is told
// before the program starts: its exit code does not tell it from a file it could not finish.
FileResult MakeSparseFile(const std::wstring& sparseExe, const std::wstring& path, int32_t mib,
                          Progress& progress);
// How long SorvSparse may take for a file of mib MiB.
uint32_t SparseWaitMs(int32_t mib);

// The program folder's SorvSparse.exe.
std::wstring SparseProgram();

// CVD_InitHeader up to three times, 1000 ms after each failure; true on success.
bool InitHeader(const std::wstring& path);

// A new disk key wrapped under the password: 24 Base64 characters, or "" when the crypto
// library is missing or fails (never an empty or short key).
std::string NewWrappedKey(const std::wstring& password);
// The same with the disk key itself (24 Base64 characters), for a caller that mounts the new
// container; both are "" on failure.
struct DiskKeys {
  std::string diskKey, wrapped;
};
DiskKeys NewDiskKeys(const std::wstring& password);

// CVD_WriteDataBlock of an ANSI text; true on success.
bool WriteDataBlock(const std::wstring& path, int32_t index, const std::string& text);

// True when the text converts to the ANSI code page and back unchanged (no best-fit or
// default characters): the libraries take ANSI paths, and a best-fit character can name
// another file.
bool SurvivesAnsi(const std::wstring& text);

// A password that does not survive the ANSI code page would wrap the disk key under its "?"s:
// anyone could unwrap it. Refused wherever a password is set.
inline constexpr wchar_t kPasswordNotAnsi[] =
    L"密码中含有当前系统不支持的字符（例如韩文、泰文），这样的密码不能保护加密盘，请重新输入。";

// Tests: replaces the zero fill's WriteFile (an empty function restores it); returns the
// previous one. A full disk cannot be had on demand.
using ZeroWriter = std::function<BOOL(HANDLE, const void*, DWORD, DWORD*)>;
ZeroWriter SetZeroWriter(ZeroWriter writer);

}  // namespace making
