#pragma once
// The management program in-process, in a program folder of its own: the real crypto, header
// and sparse-file programs, a recording SorvMount.dll, a List.ini of its own. Message boxes are
// answered from a script, program starts and file dialogs are recorded.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "MainForm.h"
#include "Reg.h"
#include "SavedSettings.h"
#include "ScriptedRuntime.h"
#include "TempDir.h"

class DeskFixture : public ::testing::Test, protected testsupport::ScriptedRuntime {
 protected:
  DeskFixture() {
    DeleteFileW(listFile.c_str());
    DeleteFileW(mountLog.c_str());
    SetSetting(L"TipsOfDay", L"0");
  }
  ~DeskFixture() override {
    if (main.IsLoaded()) {
      main.Making = false;
      main.Unload();
    }
    DeleteFileW(listFile.c_str());
    RemoveDirectoryW(listFile.c_str());
  }

  // The message of box i, or "" when fewer were shown.
  std::wstring Box(size_t i = 0) const { return i < boxes.size() ? boxes[i].prompt : L""; }
  std::wstring ListKey(const wchar_t* section, const wchar_t* key) const {
    wchar_t value[1024] = {};
    GetPrivateProfileStringW(section, key, L"", value, 1024, listFile.c_str());
    return value;
  }
  void WriteList(const std::vector<std::wstring>& paths) {
    WritePrivateProfileStringW(L"CvdFileCount", L"Count", std::to_wstring(paths.size()).c_str(),
                               listFile.c_str());
    for (size_t i = 0; i < paths.size(); ++i)
      WritePrivateProfileStringW(L"CvdFileList", std::to_wstring(i + 1).c_str(), paths[i].c_str(),
                                 listFile.c_str());
  }
  void Click(HWND w) { SendMessageW(w, BM_CLICK, 0, 0); }
  // A ".cvd" path in the test folder of `bytes` bytes in the ANSI code page (ASCII name).
  std::wstring PathOfAnsiBytes(size_t bytes) const {
    const std::wstring folder = dir / L"";
    return folder + std::wstring(bytes - forms::ToAnsi(folder).size() - 4, L'a') + L".cvd";
  }

  SavedSettings settings{L"Path", L"TipsOfDay", L"IsProtectFile"};
  TempDir dir{L"desk test"};
  const std::wstring listFile = forms::AppPath() + L"\\List.ini";
  const std::wstring mountLog = forms::AppPath() + L"\\mount-commands.txt";
  desk::Form1 main;
};
