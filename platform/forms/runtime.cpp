#include "runtime.h"

#include <shellapi.h>

#include <vector>

#include "form.h"
#include "guard.h"

namespace forms {
namespace {

MsgBoxResponder& Responder() {
  static MsgBoxResponder r;
  return r;
}

Launcher& CurrentLauncher() {
  static Launcher l;
  return l;
}

DocumentOpener& CurrentOpener() {
  static DocumentOpener o;
  return o;
}

std::wstring& Title() {
  static std::wstring t;
  return t;
}

std::wstring ModulePath() {
  std::vector<wchar_t> buf(MAX_PATH);
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n < buf.size()) return std::wstring(buf.data(), n);
    buf.resize(buf.size() * 2);
  }
}

int ShowCommand(WindowStyle style) {
  switch (style) {
    case WindowStyle::Hide:
      return SW_HIDE;
    case WindowStyle::NormalFocus:
      return SW_SHOWNORMAL;
    case WindowStyle::MinimizedFocus:
      return SW_SHOWMINIMIZED;
    case WindowStyle::MaximizedFocus:
      return SW_SHOWMAXIMIZED;
    case WindowStyle::NormalNoFocus:
      return SW_SHOWNOACTIVATE;
    case WindowStyle::MinimizedNoFocus:
      return SW_SHOWMINNOACTIVE;
  }
  return SW_SHOWNORMAL;
}

DWORD StartProcess(const std::wstring& commandLine, WindowStyle style) {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = static_cast<WORD>(ShowCommand(style));
  PROCESS_INFORMATION pi{};
  std::wstring line = commandLine;  // CreateProcessW may write into it
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return 0;
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return pi.dwProcessId;
}

std::wstring Convert(const char* text, int length) {
  int n = MultiByteToWideChar(CP_ACP, 0, text, length, nullptr, 0);
  std::wstring s(n, L'\0');
  MultiByteToWideChar(CP_ACP, 0, text, length, s.data(), n);
  return s;
}

}  // namespace

int DoEvents() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // for the loop that owns it
      break;
    }
    Dispatch(msg);
  }
  return static_cast<int>(Forms().size());
}

std::wstring AppPath() {
  std::wstring path = ModulePath();
  size_t slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return L".";
  path.resize(slash);
  if (path.size() == 2 && path[1] == L':') path += L'\\';
  return path;
}

std::wstring AppTitle() {
  if (Title().empty()) {
    std::wstring path = ModulePath();
    size_t slash = path.find_last_of(L"\\/");
    std::wstring name = path.substr(slash == std::wstring::npos ? 0 : slash + 1);
    size_t dot = name.find_last_of(L'.');
    Title() = dot == std::wstring::npos ? name : name.substr(0, dot);
  }
  return Title();
}

void AppTitle(const std::wstring& title) { Title() = title; }

int MsgBox(const std::wstring& prompt, UINT style, const std::wstring& title) {
  MsgBoxCall call{prompt, title.empty() ? AppTitle() : title, style, nullptr};
  HWND active = GetActiveWindow();
  if (active && GetWindowThreadProcessId(active, nullptr) == GetCurrentThreadId())
    call.owner = active;
  if (Responder()) return Responder()(call);
  return MessageBoxW(call.owner, call.prompt.c_str(), call.title.c_str(), call.style);
}

MsgBoxResponder SetMsgBoxResponder(MsgBoxResponder responder) {
  MsgBoxResponder old = std::move(Responder());
  Responder() = std::move(responder);
  return old;
}

DWORD Shell(const std::wstring& commandLine, WindowStyle style) {
  if (CurrentLauncher()) return CurrentLauncher()(commandLine, style);
  return StartProcess(commandLine, style);
}

Launcher SetLauncher(Launcher launcher) {
  Launcher old = std::move(CurrentLauncher());
  CurrentLauncher() = std::move(launcher);
  return old;
}

void ShellOpen(const std::wstring& verb, const std::wstring& file) {
  if (CurrentOpener()) return CurrentOpener()(verb, file);
  ShellExecuteW(nullptr, verb.c_str(), file.c_str(), L"", L"", SW_SHOWNORMAL);
}

DocumentOpener SetDocumentOpener(DocumentOpener opener) {
  DocumentOpener old = std::move(CurrentOpener());
  CurrentOpener() = std::move(opener);
  return old;
}

void ReportUncaught(const char* what) { MsgBox(L"Error: " + FromAnsi(what), MB_OK | MB_ICONERROR); }

std::wstring FromAnsi(const std::string& text) {
  return text.empty() ? std::wstring() : Convert(text.data(), static_cast<int>(text.size()));
}

std::string ToAnsi(const std::wstring& text) {
  if (text.empty()) return {};
  int len = static_cast<int>(text.size());
  int n = WideCharToMultiByte(CP_ACP, 0, text.data(), len, nullptr, 0, nullptr, nullptr);
  std::string s(n, '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), len, s.data(), n, nullptr, nullptr);
  return s;
}

}  // namespace forms
