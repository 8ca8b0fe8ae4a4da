#pragma once
// The dialogs in-process: a stand-in main window with the container list, message boxes
// answered from a script, settings and "List.ini" kept apart, containers made with the real
// libraries.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "ContainerList.h"
#include "KeyBlocks.h"
#include "SavedSettings.h"
#include "ScriptedRuntime.h"
#include "SorvLibs.h"
#include "SplitPath.h"
#include "TempDir.h"
#include "forms.h"

// The main window as the dialogs see it: its list of containers.
class MainStandIn : public forms::Form {
 public:
  forms::ListView ListView1;
  int removals = 0;  // times a dialog said a row went

 protected:
  void Design() override { ListView1.Create(*this, nullptr, 0, 0, 4000, 3000); }
};

class DialogFixture : public ::testing::Test, protected testsupport::ScriptedRuntime {
 protected:
  DialogFixture() {
    SetSetting(InstallFolderValue, forms::AppPath());  // as if setup had installed here
    DeleteFileW(ini.c_str());
    main.Load();
    for (int i = 0; i < 4; ++i) main.ListView1.AddColumn(L"", 1000);
  }
  ~DialogFixture() override {
    main.Unload();
    DeleteFileW(ini.c_str());
  }

  // Listed (in "List.ini" and as a row), as the main window shows it.
  void List(const std::wstring& path) {
    ASSERT_EQ(ContainerList(ini).Append(path), ListResult::Done);
    std::wstring drive, folder, file, base, ext;
    SplitPath(path, drive, folder, file, base, ext);
    int row = main.ListView1.Add(L"", 1);
    main.ListView1.SubItem(row, 1, file);
    main.ListView1.SubItem(row, 2, drive + folder);
  }
  std::vector<std::wstring> Listed() {
    std::vector<std::wstring> paths;
    ContainerList(ini).Load(paths);
    return paths;
  }
  std::vector<std::wstring> Rows() {
    std::vector<std::wstring> paths;
    for (int r = 1; r <= main.ListView1.Count(); ++r)
      paths.push_back(main.ListView1.SubItem(r, 2) + main.ListView1.SubItem(r, 1));
    return paths;
  }
  // A container with this password; returns its disk key (24 characters).
  std::string MakeContainer(const std::wstring& file, const std::wstring& password,
                            long long bytes = 10 << 20) {
    MakeFile(file, bytes);
    EXPECT_EQ(sorvlib::CVD_InitHeader(forms::ToAnsi(file).c_str()), 0);
    SorvCtl ctl;
    std::string key(32, '\0');
    sorvlib::GenRandomB64(key.data());
    key.resize(24);
    EXPECT_TRUE(desk::WriteBlock(file, desk::kVerifierBlock, desk::VerifierOf(ctl, password)));
    EXPECT_TRUE(desk::WriteBlock(file, desk::kWrappedKeyBlock, desk::WrapKey(key, password)));
    return key;
  }
  void Click(forms::CommandButton& button) {
    boxes.clear();
    SendMessageW(button.hWnd(), BM_CLICK, 0, 0);
  }
  void ExpectBox(size_t i, const std::wstring& text, const std::wstring& title, UINT style) {
    ASSERT_GT(boxes.size(), i) << forms::ToAnsi(text);
    EXPECT_EQ(boxes[i].prompt, text);
    EXPECT_EQ(boxes[i].title, title);
    EXPECT_EQ(boxes[i].style & (MB_TYPEMASK | MB_ICONMASK | MB_DEFMASK), style)
        << forms::ToAnsi(text);
  }

  TempDir dir{L"desk_dialogs"};
  const std::wstring ini = forms::AppPath() + L"\\List.ini";
  MainStandIn main;

 private:
  SavedSettings settings_{L"Path",       L"IsAutoMount", L"IsProtectFile", L"HotKeyConfig",
                          L"HotKeyCtrl", L"HotKeyAlt",   L"HotKeyShift",   L"HotKeyKey",
                          InstallFolderValue};
};

inline constexpr wchar_t kUnreadable[] =
    L"不能读取密码，可能的情况是：加密盘文件被占用、被保护或者被破坏。请确认后重试一次。";
