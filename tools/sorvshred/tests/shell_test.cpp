// The wipe shell in-process on the recording wipe control: nothing here is ever wiped.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "FormProgress.h"
#include "RecordingShredder.h"
#include "ScriptedRuntime.h"
#include "ShredMain.h"
#include "Texts.h"

namespace {

namespace fs = std::filesystem;

class WipeShell : public testing::Test, protected testsupport::ScriptedRuntime {
 protected:
  WipeShell() {
    CoInitialize(nullptr);  // for the browser
    fs::create_directories(folder_);
    std::ofstream(fs::path(file_)) << "old";
    GetCurrentDirectoryW(MAX_PATH, cwd_);
  }
  ~WipeShell() override {
    SetCurrentDirectoryW(cwd_);
    std::error_code ignored;
    SetFileAttributesW(folder_.c_str(), FILE_ATTRIBUTE_NORMAL);
    fs::remove_all(root_, ignored);
    CoUninitialize();
  }
  // Title, style (OK and Cancel with the exclamation icon; OK with the error icon), text.
  static std::wstring Confirm(const std::wstring& text) { return L"确认彻底删除 49: " + text; }
  static std::wstring NotWiped(const std::wstring& path) {
    return L"错误 16: " + NotWipedBox(path);
  }

  // The calls the recorder got and the boxes shown ("title style: text").
  using Outcome = std::pair<std::vector<std::wstring>, std::vector<std::wstring>>;
  Outcome Run(const std::wstring& arguments) {
    control.calls.clear();
    boxes.clear();
    shred::ShredMain(arguments, control);
    return {control.calls, Shown()};
  }
  std::vector<std::wstring> Shown() const {
    std::vector<std::wstring> shown;
    for (auto& b : boxes)
      shown.push_back(b.title + L" " + std::to_wstring(b.style) + L": " + b.prompt);
    return shown;
  }
  Outcome File() { return {{L"ShredFile " + file_}, {Confirm(FileBox(file_)), NotWiped(file_)}}; }
  static Outcome Missing(const std::wstring& path) {
    return {{}, {L"错误 16: " + NotFoundBox(path)}};
  }
  Outcome Folder() {
    return {{L"ShredFolder " + folder_}, {Confirm(FolderBox(folder_)), NotWiped(folder_)}};
  }

  const std::wstring root_ = (fs::temp_directory_path() / L"wipe shell 擦除").wstring();
  const std::wstring folder_ = root_ + L"\\子 folder", file_ = root_ + L"\\a b.txt";
  shredder::RecordingShredder control;

 private:
  wchar_t cwd_[MAX_PATH];
};

// Whatever way the path comes, the control gets the full path with no quotes or blanks
// around it, and a quoted name keeps its trailing blank; a path that names nothing gets no
// confirmation, only the message that it is not there. The recorder wipes nothing, so
// the path is still there afterwards and the user is told.
TEST_F(WipeShell, CommandLineBecomesTheFullPath) {
  SetFileAttributesW(folder_.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY |
                                          FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_DIRECTORY);
  SetCurrentDirectoryW(root_.c_str());
  const struct {
    std::wstring arguments;
    Outcome outcome;
  } rows[] = {
      {L"\"" + file_ + L"\"", File()},
      {L" \t\"" + file_ + L" \" ", Missing(file_ + L" ")},
      {L"a b.txt ", File()},
      {L"\"子 folder\"", Folder()},
      {root_ + L"\\missing.txt", Missing(root_ + L"\\missing.txt")},
      {L"\"" + root_ + L"\\missing\"", Missing(root_ + L"\\missing")},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << row.arguments.size() << " characters");
    EXPECT_EQ(Run(row.arguments), row.outcome);
  }
  EXPECT_TRUE(forms::Forms().empty());
}

// The window shows each event as it comes and cannot be closed until the wipe returns.
TEST_F(WipeShell, ProgressWindowFollowsTheEventsAndStaysUp) {
  control.events = {{L"第一", 0}, {L"第二", 45}, {L"第三", 100}};
  std::vector<std::wstring> seen;
  control.afterEvent = [&] {
    ASSERT_EQ(forms::Forms().size(), 1u);
    auto* form = dynamic_cast<shred::FormProgress*>(forms::Forms()[0]);
    ASSERT_NE(form, nullptr);
    seen.push_back(form->Caption() + L"|" + form->Label1.Caption() + L"|" +
                   std::to_wstring(form->ProgressBar1.Value()) +
                   (form->Visible() ? L"|shown" : L"|hidden"));
    SendMessageW(form->hWnd(), WM_CLOSE, 0, 0);
    if (seen.size() == 3) fs::remove(fs::path(file_));  // wiped this time
  };
  shred::ShredMain(file_, control);
  EXPECT_EQ(seen,
            (std::vector<std::wstring>{L"正在彻底删除|第一|0|shown", L"正在彻底删除|第二|45|shown",
                                       L"正在彻底删除|第三|100|shown"}));
  EXPECT_EQ(Shown(), std::vector<std::wstring>{Confirm(FileBox(file_))});
  EXPECT_TRUE(forms::Forms().empty());
}

// The user at the browser: `pick` is chosen (the browser cancelled when empty). A timer of
// the test's thread, run by the browser's own message loop, finds the dialog by the title
// text we gave it and sends the selection until the tree shows it (one sent while the dialog
// is still starting is lost), then clicks. A tree that has not taken the selection in 20
// seconds is cancelled and the browser opened again: once, with many tests at work, Wine's
// tree ignored every selection for minutes and then took the next browser's at once.
std::wstring pick;
DWORD started;
bool missed;

void CALLBACK PickTick(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = nullptr;
  while ((dialog = FindWindowExW(nullptr, dialog, L"#32770", nullptr)) &&
         !FindWindowExW(dialog, nullptr, L"Static", L"Please select folder or file."))
    ;
  HWND tree = dialog ? FindWindowExW(dialog, nullptr, WC_TREEVIEWW, nullptr) : nullptr;
  bool ready = tree && TreeView_GetCount(tree) > 0;
  if (ready && !pick.empty()) {
    SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, LPARAM(pick.c_str()));
    wchar_t selected[MAX_PATH] = {};
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = TreeView_GetSelection(tree);
    item.pszText = selected;
    item.cchTextMax = MAX_PATH;
    ready = item.hItem && TreeView_GetItem(tree, &item) &&
            fs::path(pick).filename().wstring() == selected;
  }
  if (!ready && GetTickCount() - started < 20000) return;
  KillTimer(nullptr, timer);
  missed = !ready && !pick.empty();
  PostMessageW(dialog, WM_COMMAND, pick.empty() || missed ? IDCANCEL : IDOK, 0);
}

// Picked folders and files reach the recorder; a cancelled browser ends with nothing shown.
TEST_F(WipeShell, BrowserPicksFoldersAndFiles) {
  for (const auto& [path, outcome] : {std::pair(folder_, Folder()), std::pair(file_, File()),
                                      std::pair(std::wstring(), Outcome())}) {
    pick = path;
    Outcome got;
    for (int attempt = 0; attempt < 3; ++attempt) {
      started = GetTickCount();
      missed = false;
      SetTimer(nullptr, 0, 50, PickTick);
      got = Run(L"");
      if (!missed) break;
      std::fprintf(stderr, "the browser did not take the selection; opening it again\n");
    }
    EXPECT_EQ(got, outcome);
  }
}

}  // namespace
