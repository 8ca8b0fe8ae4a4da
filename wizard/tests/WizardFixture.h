#pragma once
// The wizard in-process: settings kept and restored, the runtime scripted, the drive list
// given by the test, mount commands and format calls read back from the files the stand-ins
// write.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "DriveSource.h"
#include "SavedSettings.h"
#include "ScriptedRuntime.h"
#include "TempDir.h"
#include "Wizard.h"

inline constexpr unsigned long long MiB = 1ull << 20;

inline forms::Drive FakeDrive(wchar_t letter, std::wstring fs, unsigned long long freeMiB,
                              forms::Drive::Type type = forms::Drive::Fixed) {
  forms::Drive d;
  d.DriveLetter = letter;
  d.DriveType = type;
  d.IsReady = true;
  d.TotalSize = 2 * freeMiB * MiB;
  d.FreeSpace = freeMiB * MiB;
  d.FileSystem = std::move(fs);
  return d;
}

// The names in a folder, sorted: what a step left beside the container.
inline std::vector<std::wstring> FilesIn(const std::wstring& folder) {
  std::vector<std::wstring> names;
  for (auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename().wstring());
  std::sort(names.begin(), names.end());
  return names;
}

// Runs f once from the message loop that runs when `form` is shown (a modal window's, say).
inline void WhenShown(forms::Form& form, std::function<void()> f) {
  static forms::Form* waitingFor;
  static std::function<void()> pending;
  waitingFor = &form;
  pending = std::move(f);
  SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR id, DWORD) {
    if (!waitingFor->Visible()) return;
    KillTimer(nullptr, id);
    auto run = std::move(pending);
    if (run) run();
  });
}

class WizardFixture : public ::testing::Test, protected testsupport::ScriptedRuntime {
 protected:
  WizardFixture() {
    for (const wchar_t* v : {L"SORV_MOUNT_RESULT", L"SORV_MOUNT_DEFINE", L"SORV_SPARSE_MODE"})
      SetEnvironmentVariableW(v, nullptr);
    SetEnvironmentVariableW(L"SORV_FORMAT_LOG", formatLog.c_str());
    DeleteFileW(listFile.c_str());
    DeleteFileW(formatLog.c_str());
    DeleteFileW(mountLog.c_str());
    oldLister_ = wizard::SetDriveLister([this] { return drives; });
  }
  ~WizardFixture() override {
    wizard::SetDriveLister(oldLister_);
    w.End();
  }

  // Step 1 shown for the drives, the size typed, "下一步".
  void Step1(const std::wstring& size) {
    w.form1.Show();
    w.form1.Text1.Text(size);
    boxes.clear();
    Click(w.form1.Command2);
  }
  // Through step 1 onto the first drive, then step 2 with the password: step 3 runs.
  void Create(const std::wstring& size = L"10", const std::wstring& password = L"password1") {
    Step1(size);
    ASSERT_TRUE(w.form2.Visible()) << (boxes.empty() ? "" : forms::ToAnsi(boxes[0].prompt));
    w.form2.Text1.Text(password);
    w.form2.Text2.Text(password);
    Click(w.form2.Command1);
  }
  static void Click(forms::Control& button) { SendMessageW(button.hWnd(), BM_CLICK, 0, 0); }
  bool Shown(const std::wstring& text) const {
    for (auto& b : boxes)
      if (b.prompt == text) return true;
    return false;
  }

  std::vector<forms::Drive> drives;
  const std::wstring listFile = forms::AppPath() + L"\\List.ini";
  const std::wstring formatLog = forms::AppPath() + L"\\format-calls.txt";
  const std::wstring mountLog = forms::AppPath() + L"\\mount-commands.txt";
  wizard::Wizard w;

 private:
  SavedSettings settings_{L"Path", L"IsProtectFile"};
  wizard::DriveLister oldLister_;
};
