#pragma once
// The tray program in-process: settings kept and restored, message boxes answered from a
// script, program starts and tray icon calls recorded, the mount library's commands read
// back, containers made with the real libraries.
#include <gtest/gtest.h>
#include <windows.h>

#include <deque>
#include <string>
#include <vector>

#include "Reg.h"
#include "SavedSettings.h"
#include "SysTray.h"
#include "TempDir.h"
#include "TrayState.h"
#include "forms.h"

struct IconCall {
  DWORD message;
  NOTIFYICONDATAA data;
  std::string Tip() const { return data.szTip; }
  std::string Info() const { return data.szInfo; }
};

struct Start {
  std::wstring commandLine;
  forms::WindowStyle style;
};

class TrayFixture : public ::testing::Test {
protected:
  TrayFixture();
  ~TrayFixture() override;

  // Message boxes: each answered with the next scripted answer (IDOK when none is left).
  std::deque<int> answers;
  std::vector<forms::MsgBoxCall> boxes;
  std::vector<Start> starts;
  std::vector<IconCall> icons;

  // The commands the recording SorvMount.dll received, one a line, ANSI.
  std::vector<std::string> MountCommands();
  void ClearMountCommands();
  // A container at `path` with `password`; returns the 16 key characters that a mount with
  // this password must hand the driver.
  std::string MakeContainer(const std::wstring& path, const std::string& password,
                            long long bytes = 1 << 20);
  static std::string Ansi(const std::wstring& text) { return forms::ToAnsi(text); }
  static void SetEnv(const char* name, const char* value) { SetEnvironmentVariableA(name, value); }

  TempDir dir{L"tray_test"};

private:
  SavedSettings settings_{L"Path", L"DriveLetter", L"IsAutoMount", L"IsProtectFile",
                          L"HotKeyConfig", L"HotKeyCtrl", L"HotKeyAlt", L"HotKeyShift",
                          L"HotKeyKey", L"TipsOfDay"};
  std::wstring srStart_;
  bool hadSrStart_ = false;
  forms::MsgBoxResponder oldResponder_;
  forms::Launcher oldLauncher_;
  tray::NotifyIconSink oldSink_;
};
