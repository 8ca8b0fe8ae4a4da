// SorvShred.exe as the user meets it: its own process, the real wiper, real files, its
// message boxes read and answered from here. The browser is only ever cancelled.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Processes.h"
#include "Texts.h"
#include "forms.h"

namespace {

namespace fs = std::filesystem;

// The process's dialog windows: message boxes and the browser.
std::vector<HWND> DialogsOf(DWORD pid) {
  std::vector<HWND> found;
  for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, L"#32770", nullptr));) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner == pid && IsWindowVisible(w)) found.push_back(w);
  }
  return found;
}

std::wstring Text(HWND w) {
  wchar_t text[1024] = {};
  GetWindowTextW(w, text, 1024);
  return text;
}

// Runs SorvShred with `arguments`; answers its message boxes in turn from `answers`, each
// once its text can be read, and cancels the browser. Returns "title: text" of each box.
std::vector<std::wstring> RunShred(const std::wstring& arguments, std::deque<int> answers) {
  std::wstring line = L"\"" + forms::AppPath() + L"\\SorvShred.exe\" " + arguments;
  PROCESS_INFORMATION process{};
  std::vector<std::wstring> boxes;
  if (!testsupport::StartProcess(line, process)) {
    ADD_FAILURE() << "SorvShred.exe did not start";
    return boxes;
  }
  std::vector<HWND> answered;
  for (int n = 0; n < 1200 && WaitForSingleObject(process.hProcess, 50); ++n) {
    for (HWND dialog : DialogsOf(process.dwProcessId)) {
      if (std::find(answered.begin(), answered.end(), dialog) != answered.end()) continue;
      if (FindWindowExW(dialog, nullptr, L"SysTreeView32", nullptr)) {
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
      } else {
        const std::wstring text = Text(GetDlgItem(dialog, 0xFFFF));
        if (text.empty()) continue;  // not filled in yet: look again
        boxes.push_back(Text(dialog) + L": " + text);
        PostMessageW(dialog, WM_COMMAND, answers.empty() ? IDCANCEL : answers.front(), 0);
        if (!answers.empty()) answers.pop_front();
      }
      answered.push_back(dialog);
    }
  }
  EXPECT_EQ(WaitForSingleObject(process.hProcess, 0), WAIT_OBJECT_0) << "SorvShred did not end";
  TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return boxes;
}

std::string Read(HANDLE file) {
  std::string bytes(1 << 16, '\0');
  DWORD got = 0;
  ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
  bytes.resize(got);
  return bytes;
}

HANDLE Open(const fs::path& file, DWORD share) {
  return CreateFileW(file.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr);
}

class SorvShred : public testing::Test {
 protected:
  void SetUp() override { fs::create_directories(tree_ / L"sub" / L"sub sub"); }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }
  static void Write(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
  }
  const fs::path root_ = fs::temp_directory_path() / L"sorvshred e2e", tree_ = root_ / L"树 tree",
                 file_ = root_ / L"秘密 file.txt";
  const std::string old_ = std::string(70000, 'S');
};

// A quoted file with a blank, held open with all sharing, reads nothing old afterwards;
// a folder goes with its sub-folders and a read-only file; nothing is left under any name.
TEST_F(SorvShred, WipesFilesAndFolders) {
  Write(file_, old_);
  for (const wchar_t* name : {L"a.txt", L"sub\\b.bin", L"sub\\sub sub\\c d.txt"})
    Write(tree_ / name, old_);
  SetFileAttributesW((tree_ / L"sub\\b.bin").c_str(), FILE_ATTRIBUTE_READONLY);
  HANDLE held = Open(file_, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
  EXPECT_EQ(RunShred(L"\"" + file_.wstring() + L"\"", {IDOK}),
            std::vector<std::wstring>{L"确认彻底删除: " + FileBox(file_.wstring())});
  EXPECT_EQ(Read(held).find('S'), std::string::npos);
  CloseHandle(held);
  EXPECT_EQ(RunShred(tree_.wstring(), {IDOK}),
            std::vector<std::wstring>{L"确认彻底删除: " + FolderBox(tree_.wstring())});
  EXPECT_TRUE(fs::is_empty(root_));
}

// Cancel, a path that names nothing, a cancelled browser: nothing touched; only the path
// that names nothing is told.
TEST_F(SorvShred, EndsWithoutTouchingAnything) {
  Write(file_, old_);
  EXPECT_EQ(RunShred(file_.wstring(), {IDCANCEL}),
            std::vector<std::wstring>{L"确认彻底删除: " + FileBox(file_.wstring())});
  const std::wstring nothing = (root_ / L"nothing here").wstring();
  EXPECT_EQ(RunShred(L"\"" + nothing + L"\"", {IDOK}),
            std::vector<std::wstring>{L"错误: " + NotFoundBox(nothing)});
  EXPECT_EQ(RunShred(L"", {}), std::vector<std::wstring>{});
  std::ifstream in(file_, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), old_);
}

// A name the ANSI code page cannot hold is wiped, not the file its best fit would name; a
// file held without sharing is left whole and the user is told.
TEST_F(SorvShred, WipesOnlyTheNamedFileAndSaysWhenItCannot) {
  const fs::path exact = root_ / L"ä.txt", bestFit = root_ / L"a.txt";
  Write(exact, old_);
  Write(bestFit, old_);
  RunShred(exact.wstring(), {IDOK});
  EXPECT_FALSE(fs::exists(exact));
  EXPECT_TRUE(fs::exists(bestFit));

  HANDLE held = Open(bestFit, 0);
  EXPECT_EQ(RunShred(bestFit.wstring(), {IDOK, IDOK}),
            (std::vector<std::wstring>{L"确认彻底删除: " + FileBox(bestFit.wstring()),
                                       L"错误: " + NotWipedBox(bestFit.wstring())}));
  EXPECT_EQ(Read(held), old_.substr(0, 1 << 16));
  CloseHandle(held);
}

}  // namespace
