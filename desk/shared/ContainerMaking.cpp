#include "ContainerMaking.h"

#include <windows.h>

#include <cstring>

#include "CutAtNul.h"
#include "FileSize.h"
#include "SorvLibs.h"
#include "Wipe.h"
#include "forms.h"

namespace making {
namespace {

constexpr DWORD kBlock = 1024;
constexpr uint64_t kMiB = 1 << 20;

// Percentage steps of a loop of `count` rounds: at every multiple of count \ 100.
class Steps {
 public:
  explicit Steps(uint64_t count) : count_(count), every_(count / 100) {}
  void At(uint64_t i, Progress& progress) const {
    if (every_ && i % every_ == 0) progress.Percent(int(i * 100 / count_));
  }

 private:
  uint64_t count_, every_;
};

ZeroWriter& Writer() {
  static ZeroWriter w;
  return w;
}

BOOL WriteBlock(HANDLE h, const void* data, DWORD size, DWORD* written) {
  if (Writer()) return Writer()(h, data, size, written);
  return WriteFile(h, data, size, written, nullptr);
}

// Waits for the process, letting the window messages run, until it ends or `ms` pass.
bool WaitPumping(HANDLE process, uint32_t ms) {
  const ULONGLONG deadline = GetTickCount64() + ms;
  for (;;) {
    ULONGLONG now = GetTickCount64();
    if (now >= deadline) return WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    DWORD r = MsgWaitForMultipleObjects(1, &process, FALSE, DWORD(deadline - now), QS_ALLINPUT);
    if (r == WAIT_OBJECT_0) return true;
    forms::DoEvents();
  }
}

// The folder that would hold the file ("X:\" for a file in the root).
bool FolderExists(const std::wstring& path) {
  const size_t cut = path.find_last_of(L"\\/");
  if (cut == std::wstring::npos) return false;
  const DWORD attr = GetFileAttributesW(path.substr(0, cut + 1).c_str());
  return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

FileResult WriteZeroFile(const std::wstring& path, int32_t mib, Progress& progress) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
  if (h == INVALID_HANDLE_VALUE)
    return GetLastError() == ERROR_FILE_EXISTS ? FileResult::Exists : FileResult::CannotCreate;
  static const char zeros[kBlock] = {};
  const uint64_t count = uint64_t(mib > 0 ? mib : 0) * 1024;
  const Steps steps(count);
  bool ok = true;
  progress.Begin();
  // The window stays responsive: pending messages run at least every 10 ms (a look at the
  // queue after every 1 KiB write would cost more than the write itself).
  ULONGLONG yielded = GetTickCount64();
  for (uint64_t i = 1; i <= count; ++i) {
    DWORD written = 0;
    if (!WriteBlock(h, zeros, kBlock, &written) || written != kBlock) {
      ok = false;
      break;
    }
    if (GetTickCount64() - yielded >= 10) {
      forms::DoEvents();
      yielded = GetTickCount64();
    }
    steps.At(i, progress);
  }
  progress.End();
  if (ok && !FlushFileBuffers(h)) ok = false;
  CloseHandle(h);
  if (ok) return FileResult::Made;
  DeleteFileW(path.c_str());
  return FileResult::WriteFailed;
}

uint32_t SparseWaitMs(int32_t mib) {
  // Marking a file sparse and setting its length is quick; allow for a slow disk.
  const uint64_t ms = 10000 + uint64_t(mib > 0 ? mib : 0) / 4;
  return ms > 0x7FFFFFFF ? 0x7FFFFFFF : uint32_t(ms);
}

std::wstring SparseProgram() { return forms::AppPath() + L"\\SorvSparse.exe"; }

FileResult MakeSparseFile(const std::wstring& sparseExe, const std::wstring& path, int32_t mib,
                          Progress& progress) {
  if (GetFileAttributesW(sparseExe.c_str()) == INVALID_FILE_ATTRIBUTES)
    return FileResult::SparseMissing;
  if (!FolderExists(path)) return FileResult::CannotCreate;
  std::wstring line = L"\"" + sparseExe + L"\" \"" + path + L"\" " + std::to_wstring(mib) + L"M";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_SHOWMINIMIZED;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(sparseExe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &si, &pi))
    return FileResult::SparseMissing;
  CloseHandle(pi.hThread);

  // The animation the user sees: ten rounds a MiB, as long as the file takes on a slow disk.
  const uint64_t rounds = uint64_t(mib > 0 ? mib : 0) * 10;
  const Steps steps(rounds);
  progress.Begin();
  for (uint64_t i = 1; i <= rounds; ++i) {
    forms::DoEvents();
    steps.At(i, progress);
  }
  const bool ended = WaitPumping(pi.hProcess, SparseWaitMs(mib));
  progress.End();

  DWORD code = 1;
  if (!ended) {
    // Its file is half made at best: end it and take the file away.
    TerminateProcess(pi.hProcess, 1);
    WaitForSingleObject(pi.hProcess, 5000);
    CloseHandle(pi.hProcess);
    DeleteFileW(path.c_str());
    return FileResult::SparseFailed;
  }
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hProcess);
  if (code != 0) return FileResult::SparseFailed;  // it made nothing, or took its file away
  if (FileBytes(path) != int64_t(uint64_t(mib) * kMiB)) {
    DeleteFileW(path.c_str());
    return FileResult::SparseFailed;
  }
  return FileResult::Made;
}

bool InitHeader(const std::wstring& path) {
  const std::string ansi = forms::ToAnsi(path);
  for (int attempt = 1; attempt <= 3; ++attempt) {
    if (sorvlib::CVD_InitHeader(ansi.c_str()) != -1) return true;
    Sleep(1000);
  }
  return false;
}

DiskKeys NewDiskKeys(const std::wstring& password) {
  char key[32] = {}, wrapped[128] = {};
  const bool drawn = sorvlib::GenRandomB64(key) != -1;
  std::string diskKey(key, strnlen(key, sizeof key));
  Wipe(key, sizeof key);
  WipeOnExit wipeKey{diskKey};
  if (!drawn || diskKey.size() != 24) return {};
  std::string ansi = forms::ToAnsi(password);
  WipeOnExit wipePassword{ansi};
  if (sorvlib::AESEncryptB64(diskKey.c_str(), ansi.c_str(), wrapped) == -1) return {};
  std::string result = CutAtNul(std::string(wrapped, sizeof wrapped));
  if (result.size() != 24) return {};
  return {diskKey, result};
}

std::string NewWrappedKey(const std::wstring& password) {
  DiskKeys keys = NewDiskKeys(password);
  Wipe(keys.diskKey);
  return keys.wrapped;
}

bool WriteDataBlock(const std::wstring& path, int32_t index, const std::string& text) {
  return sorvlib::CVD_WriteDataBlock(forms::ToAnsi(path).c_str(), index, text.c_str()) != -1;
}

bool SurvivesAnsi(const std::wstring& text) {
  if (text.empty()) return true;
  const int len = int(text.size());
  BOOL usedDefault = FALSE;
  int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), len, nullptr, 0, nullptr,
                              &usedDefault);
  if (n <= 0 || usedDefault) return false;
  std::string ansi(n, '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), len, ansi.data(), n, nullptr,
                      &usedDefault);
  return !usedDefault && forms::FromAnsi(ansi) == text;
}

ZeroWriter SetZeroWriter(ZeroWriter writer) {
  ZeroWriter old = std::move(Writer());
  Writer() = std::move(writer);
  return old;
}

}  // namespace making
