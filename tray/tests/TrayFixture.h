#pragma once
// The tray program in-process: settings kept and restored, message boxes answered from a
// script, program starts and tray icon calls recorded, containers made with the real libraries.
#include <gtest/gtest.h>
#include <windows.h>

#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "PromptForm.h"
#include "Reg.h"
#include "SavedSettings.h"
#include "SysTray.h"
#include "TempDir.h"
#include "TrayState.h"

class TrayFixture : public ::testing::Test {
protected:
  TrayFixture();
  ~TrayFixture() override;
  void TearDown() override {
    if (form.IsLoaded()) form.Unload();
  }

  std::deque<int> answers;  // for the message boxes in turn; IDOK once used up
  std::vector<forms::MsgBoxCall> boxes;
  std::vector<std::pair<std::wstring, forms::WindowStyle>> starts;
  std::vector<std::pair<DWORD, NOTIFYICONDATAA>> icons;

  TempDir dir{L"tray_test"};
  std::wstring path = dir / L"box.cvd";
  tray::Form1 form;

  // The prompt for the container at `path`, shown, the commands of its start-up forgotten.
  void Show();
  // The password typed and "确定" clicked.
  void Ok(const std::wstring& password);
  void ExpectBox(size_t i, const std::wstring& text, const std::wstring& title, UINT icon);
  // The lines the recording SorvMount.dll received.
  std::vector<std::string> MountCommands();
  void ClearMountCommands();
  // A container with this password; returns the 16 key characters a mount must hand on.
  std::string MakeContainer(const std::wstring& file, const std::string& password,
                            long long bytes = 1 << 20);
  static std::string Ansi(const std::wstring& text) { return forms::ToAnsi(text); }
  static void SetEnv(const char* name, const char* value) { SetEnvironmentVariableA(name, value); }

private:
  SavedSettings settings_{L"Path", L"DriveLetter", L"IsAutoMount", L"IsProtectFile",
                          L"HotKeyConfig", L"HotKeyCtrl", L"HotKeyAlt", L"HotKeyShift",
                          L"HotKeyKey", L"TipsOfDay"};
  std::wstring srStart_;
  DWORD srStartType_ = 0;
  forms::MsgBoxResponder oldResponder_;
  forms::Launcher oldLauncher_;
  tray::NotifyIconSink oldSink_;
};
