#pragma once
// The tray program in-process: settings kept and restored, the runtime scripted, tray icon
// calls recorded, containers made with the real libraries.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include <objbase.h>
#include <shlobj.h>

#include "Autostart.h"
#include "CutAtNul.h"
#include "PromptForm.h"
#include "Reg.h"
#include "SavedSettings.h"
#include "ScriptedRuntime.h"
#include "SendToLink.h"
#include "SorvCtl.h"
#include "SorvLibs.h"
#include "SysTray.h"
#include "TempDir.h"
#include "TrayState.h"

class TrayFixture : public ::testing::Test, protected testsupport::ScriptedRuntime {
 protected:
  TrayFixture() {
    SetSetting(L"TipsOfDay", L"0");
    SetSetting(InstallFolderValue, forms::AppPath());  // as if setup had installed here
    SetEnvironmentVariableA("SORV_MOUNT_RESULT", nullptr);
    SetEnvironmentVariableA("SORV_BLOCK_READ_FAIL", nullptr);
    DeleteFileW(mountLog_.c_str());
    tray::ResetState();
    oldSink_ = tray::SetNotifyIconSink([this](DWORD message, const NOTIFYICONDATAA& data) {
      icons.push_back({message, data});
      return TRUE;
    });
    oldTasks_ = SetLogonTaskSink([this](const std::wstring& name, const std::wstring& xml) {
      tasks.push_back({name, xml});
      return true;
    });
    oldFilter_ = tray::SetMessageFilterSink([this](HWND hwnd, UINT message, DWORD action) {
      filters.push_back({hwnd, message, action});
      return TRUE;
    });
    oldSendTo_ = tray::SetSendToLookup([this] { return dir.path() + L"\\"; });
  }
  ~TrayFixture() override {
    tray::SetNotifyIconSink(oldSink_);
    SetLogonTaskSink(oldTasks_);
    tray::SetMessageFilterSink(oldFilter_);
    tray::SetSendToLookup(oldSendTo_);
    if (tray::SemaphoreHandle) CloseHandle(tray::SemaphoreHandle);
    tray::ResetState();
  }
  void TearDown() override {
    if (form.IsLoaded()) form.Unload();
  }

  // The prompt for the container at `path`, shown, the commands of its start-up forgotten.
  void Show() {
    SetSetting(L"Path", path);
    form.Show();
    ASSERT_FALSE(tray::ProgramEnded);
    DeleteFileW(mountLog_.c_str());
  }
  void Ok(const std::wstring& password) {
    form.Text1.Text(password);
    boxes.clear();
    SendMessageW(form.Command1.hWnd(), BM_CLICK, 0, 0);
  }
  void ExpectBox(size_t i, const std::wstring& text, const std::wstring& title, UINT icon) {
    ASSERT_GT(boxes.size(), i) << Ansi(text);
    EXPECT_EQ(boxes[i].prompt, text);
    EXPECT_EQ(boxes[i].title, title);
    EXPECT_EQ(boxes[i].Icon(), icon);
  }
  // What the recording SorvMount.dll received since the last call, a line a command.
  std::vector<std::string> MountCommands() { return TakeLines(mountLog_); }
  // A container with this password; returns the 16 key characters a mount hands on.
  std::string MakeContainer(const std::wstring& file, const std::string& password,
                            long long bytes = 1 << 20) {
    MakeFile(file, bytes);
    const std::string ansi = Ansi(file);
    EXPECT_EQ(sorvlib::CVD_InitHeader(ansi.c_str()), 0);
    SorvCtl ctl;
    ctl.SetPassword(forms::FromAnsi(password));
    EXPECT_EQ(sorvlib::CVD_WriteDataBlock(ansi.c_str(), 1, Ansi(ctl.Verifier()).c_str()), 0);
    std::string diskKey(32, '\0'), wrapped(128, '\0');
    sorvlib::GenRandomB64(diskKey.data());
    sorvlib::AESEncryptB64(CutAtNul(diskKey).c_str(), password.c_str(), wrapped.data());
    EXPECT_EQ(sorvlib::CVD_WriteDataBlock(ansi.c_str(), 2, CutAtNul(wrapped).c_str()), 0);
    return CutAtNul(diskKey).substr(0, 16);
  }
  static std::string Ansi(const std::wstring& text) { return forms::ToAnsi(text); }
  // A shell shortcut as the shortcut tool writes it.
  static void WriteLink(const std::wstring& file, const std::wstring& target,
                        const std::wstring& description) {
    CoInitialize(nullptr);
    IShellLinkW* link = nullptr;
    IPersistFile* persist = nullptr;
    CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link));
    link->SetPath(target.c_str());
    link->SetDescription(description.c_str());
    link->QueryInterface(IID_PPV_ARGS(&persist));
    EXPECT_EQ(persist->Save(file.c_str(), TRUE), S_OK);
    persist->Release();
    link->Release();
    CoUninitialize();
  }

  // One call of the shell's icon function: the message, the record's uFlags (31 first display,
  // 7 show and hide, 4 tip change) and its tip.
  struct IconCall {
    DWORD message;
    UINT flags;
    std::wstring tip;
  };
  // The icon calls made since `icons` was cleared, with the fields every record carries.
  void ExpectIcons(const std::vector<IconCall>& calls, const std::wstring& balloon = L"") {
    ASSERT_EQ(icons.size(), calls.size());
    for (size_t i = 0; i < calls.size(); ++i) {
      SCOPED_TRACE(i);
      const NOTIFYICONDATAA& d = icons[i].second;
      EXPECT_EQ(icons[i].first, calls[i].message);
      // 488 bytes on 32-bit Windows; the same fields with 64-bit handles here.
      EXPECT_EQ(d.cbSize, sizeof(void*) == 4 ? 488u : DWORD(offsetof(NOTIFYICONDATAA, guidItem)));
      EXPECT_EQ(d.hWnd, form.hWnd());
      EXPECT_EQ(d.uID, 0u);
      EXPECT_NE(d.hIcon, nullptr);
      EXPECT_EQ(d.uFlags, calls[i].flags);
      EXPECT_EQ(d.szTip, Ansi(calls[i].tip));
      if (calls[i].flags & NIF_MESSAGE) EXPECT_EQ(d.uCallbackMessage, 1025u);
      if (calls[i].flags & NIF_INFO) {
        EXPECT_EQ(d.szInfo, Ansi(balloon));
        EXPECT_EQ(d.uTimeout, 10000u);
        EXPECT_STREQ(d.szInfoTitle, "Velkiro");
        EXPECT_EQ(d.dwInfoFlags, 1u);
        EXPECT_EQ(d.dwState | d.dwStateMask, 0u);
      }
    }
  }

  std::vector<std::pair<DWORD, NOTIFYICONDATAA>> icons;
  std::vector<std::pair<std::wstring, std::wstring>> tasks;  // name, definition ("" removed)
  struct FilterCall {
    HWND hwnd;
    UINT message;
    DWORD action;
  };
  std::vector<FilterCall> filters;
  TempDir dir{L"tray_test"};
  std::wstring path = dir / L"box.cvd";
  tray::Form1 form;

 private:
  SavedSettings settings_{L"Path",         L"DriveLetter", L"IsAutoMount", L"IsProtectFile",
                          L"HotKeyConfig", L"HotKeyCtrl",  L"HotKeyAlt",   L"HotKeyShift",
                          L"HotKeyKey",    L"TipsOfDay",   InstallFolderValue};
  const std::wstring mountLog_ = forms::AppPath() + L"\\mount-commands.txt";
  tray::NotifyIconSink oldSink_;
  LogonTaskSink oldTasks_;
  tray::MessageFilterSink oldFilter_;
  tray::SendToLookup oldSendTo_;
};
