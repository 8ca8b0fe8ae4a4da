// The wipe shell in-process on the recording wipe control: nothing here is ever wiped.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "FormProgress.h"
#include "RecordingShredder.h"
#include "ShredMain.h"
#include "Texts.h"

namespace {

namespace fs = std::filesystem;

struct Box {
  std::wstring text, title;
  UINT style;
  bool operator==(const Box&) const = default;
};

class WipeShell : public testing::Test {
 protected:
  WipeShell() {
    CoInitialize(nullptr);  // for the browser
    fs::create_directories(folder_);
    std::ofstream(fs::path(file_)) << "old";
    old_ = forms::SetMsgBoxResponder([this](const forms::MsgBoxCall& call) {
      boxes.push_back({call.prompt, call.title, call.style});
      return answer;
    });
    GetCurrentDirectoryW(MAX_PATH, cwd_);
  }
  ~WipeShell() override {
    forms::SetMsgBoxResponder(old_);
    SetCurrentDirectoryW(cwd_);
    std::error_code ignored;
    SetFileAttributesW(folder_.c_str(), FILE_ATTRIBUTE_NORMAL);
    fs::remove_all(root_, ignored);
    CoUninitialize();
  }
  static Box Confirm(const std::wstring& text) { return {text, L"确认彻底删除", 49}; }
  static Box NotWiped(const std::wstring& path) {
    return {NotWipedBox(path), L"错误", MB_OK | MB_ICONERROR};
  }

  const std::wstring root_ = (fs::temp_directory_path() / L"wipe shell 擦除").wstring();
  const std::wstring folder_ = root_ + L"\\子 folder", file_ = root_ + L"\\a b.txt";
  shredder::RecordingShredder control;
  std::vector<Box> boxes;
  int answer = IDOK;

 private:
  forms::MsgBoxResponder old_;
  wchar_t cwd_[MAX_PATH];
};

// Whatever way the path comes, the control gets the full path with no quotes or blanks
// around it; a path that names nothing gets no confirmation.
TEST_F(WipeShell, CommandLineBecomesTheFullPath) {
  SetFileAttributesW(folder_.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY |
                                          FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_DIRECTORY);
  SetCurrentDirectoryW(root_.c_str());
  const struct {
    std::wstring arguments, call;
    bool folder;
  } rows[] = {
      {L"\"" + file_ + L"\"", L"ShredFile " + file_, false},
      {L" \t\"" + file_ + L" \" ", L"ShredFile " + file_, false},
      {L"a b.txt ", L"ShredFile " + file_, false},
      {L"\"子 folder\"", L"ShredFolder " + folder_, true},
      {root_ + L"\\missing.txt", L"", false},
      {L"\"" + root_ + L"\\missing\"", L"", false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << row.arguments.size() << " characters");
    control.calls.clear();
    boxes.clear();
    shred::ShredMain(row.arguments, control);
    if (row.call.empty()) {
      EXPECT_EQ(boxes, std::vector<Box>{});
      EXPECT_EQ(control.calls, std::vector<std::wstring>{});
      continue;
    }
    const std::wstring path = row.folder ? folder_ : file_;
    EXPECT_EQ(control.calls, std::vector<std::wstring>{row.call});
    // The recorder wipes nothing, so the path is still there and the user is told.
    EXPECT_EQ(boxes, (std::vector<Box>{Confirm(row.folder ? FolderBox(path) : FileBox(path)),
                                       NotWiped(path)}));
  }
  EXPECT_TRUE(forms::Forms().empty());
}

TEST_F(WipeShell, CancelInTheConfirmationWipesNothing) {
  answer = IDCANCEL;
  shred::ShredMain(file_, control);
  EXPECT_EQ(boxes, std::vector<Box>{Confirm(FileBox(file_))});
  EXPECT_EQ(control.calls, std::vector<std::wstring>{});
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
  EXPECT_EQ(boxes, std::vector<Box>{Confirm(FileBox(file_))});
  EXPECT_TRUE(forms::Forms().empty());
}

// The browser's dialog of this process: found by the title text we gave it.
HWND BrowserDialog() {
  for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, L"#32770", nullptr));) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == GetCurrentProcessId() &&
        FindWindowExW(w, nullptr, L"Static", L"Please select folder or file."))
      return w;
  }
  return nullptr;
}

// Waits up to ten seconds for `done`.
template <class F>
bool Within10s(F done) {
  for (int i = 0; i < 200; ++i, Sleep(50))
    if (done()) return true;
  return false;
}

std::wstring SelectedName(HWND tree) {
  wchar_t text[MAX_PATH] = {};
  TVITEMW item{};
  item.mask = TVIF_TEXT;
  item.hItem = TreeView_GetSelection(tree);
  item.pszText = text;
  item.cchTextMax = MAX_PATH;
  if (item.hItem) SendMessageW(tree, TVM_GETITEMW, 0, LPARAM(&item));
  return text;
}

// Picks `path` in the browser (cancels when empty) from another thread, as a user would.
std::thread Pick(const std::wstring& path) {
  return std::thread([path] {
    HWND dialog = nullptr, tree = nullptr;
    if (!Within10s([&] {
          dialog = BrowserDialog();
          tree = dialog ? FindWindowExW(dialog, nullptr, WC_TREEVIEWW, nullptr) : nullptr;
          return tree && TreeView_GetCount(tree) > 0;
        }))
      return;
    if (!path.empty()) {
      SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, LPARAM(path.c_str()));
      Within10s([&] { return SelectedName(tree) == fs::path(path).filename().wstring(); });
    }
    PostMessageW(dialog, WM_COMMAND, path.empty() ? IDCANCEL : IDOK, 0);
  });
}

// Picked folders and files reach the recorder; a cancelled browser ends with nothing shown.
TEST_F(WipeShell, BrowserPicksFoldersAndFiles) {
  const struct {
    std::wstring pick, call;
    Box box;
  } rows[] = {{folder_, L"ShredFolder " + folder_, Confirm(FolderBox(folder_))},
              {file_, L"ShredFile " + file_, Confirm(FileBox(file_))},
              {L"", L"", {}}};
  for (const auto& row : rows) {
    control.calls.clear();
    boxes.clear();
    std::thread user = Pick(row.pick);
    shred::ShredMain(L"", control);
    user.join();
    if (row.call.empty()) {
      EXPECT_EQ(control.calls, std::vector<std::wstring>{});
      EXPECT_EQ(boxes, std::vector<Box>{});
    } else {
      EXPECT_EQ(control.calls, std::vector<std::wstring>{row.call});
      ASSERT_FALSE(boxes.empty());
      EXPECT_EQ(boxes[0], row.box);
    }
  }
}

}  // namespace
