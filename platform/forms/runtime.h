// Runtime services: message boxes, program start, DoEvents, the program folder.
// MsgBox and Shell go through replaceable responders so tests can script and record them.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace forms {

// Runs the pending window messages; returns the number of loaded forms.
int DoEvents();

// The program's folder, without a trailing backslash (except at a drive's root).
std::wstring AppPath();
// The program's name (the file name of its .exe without extension), the title of a message
// box that has none of its own; a program may set another.
std::wstring AppTitle();
void AppTitle(const std::wstring& title);

// A message box: style holds the MB_ button, icon and default-button bits; the result is
// IDOK, IDYES, ... An empty title shows AppTitle(). The owner is the active form.
int MsgBox(const std::wstring& prompt, UINT style = MB_OK, const std::wstring& title = L"");

struct MsgBoxCall {
  std::wstring prompt;
  std::wstring title;  // as shown, AppTitle() filled in
  UINT style;
  HWND owner;
  UINT Buttons() const { return style & MB_TYPEMASK; }
  UINT Icon() const { return style & MB_ICONMASK; }
  UINT DefaultButton() const { return style & MB_DEFMASK; }
};
using MsgBoxResponder = std::function<int(const MsgBoxCall&)>;
// Replaces the real message box (an empty responder restores it); returns the previous one.
MsgBoxResponder SetMsgBoxResponder(MsgBoxResponder responder);

// Window style of a started program, numbered as the programs' callers know them.
enum class WindowStyle {
  Hide = 0,
  NormalFocus = 1,
  MinimizedFocus = 2,
  MaximizedFocus = 3,
  NormalNoFocus = 4,
  MinimizedNoFocus = 6,
};

// Starts a program from its command line without waiting; returns its process id, 0 when
// it could not be started.
DWORD Shell(const std::wstring& commandLine, WindowStyle style = WindowStyle::MinimizedFocus);

using Launcher = std::function<DWORD(const std::wstring& commandLine, WindowStyle style)>;
// Replaces the real start (an empty launcher restores it); returns the previous one.
Launcher SetLauncher(Launcher launcher);

// Hands a document to the shell (no owner window, no parameters or folder, shown normally);
// what the shell answers is not looked at.
void ShellOpen(const std::wstring& verb, const std::wstring& file);

using DocumentOpener = std::function<void(const std::wstring& verb, const std::wstring& file)>;
// Replaces the shell (an empty opener restores it); returns the previous one.
DocumentOpener SetDocumentOpener(DocumentOpener opener);

// Text conversions in the ANSI code page (the libraries' strings).
std::wstring FromAnsi(const std::string& text);
std::string ToAnsi(const std::wstring& text);

}  // namespace forms
