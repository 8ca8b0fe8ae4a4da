// Runtime services under Wine: message boxes, program start, drives, the file dialog.
#include <gtest/gtest.h>

#include "linked_session.h"
#include "private_names.h"
#include "test_forms.h"

namespace forms_test {
namespace {

TEST(MsgBox, UntitledBoxCarriesProgramName) {
  testsupport::ScriptedRuntime runtime;
  MsgBox(L"未知的原因使加载文件保护失败，请检查后重新尝试一遍");
  ASSERT_EQ(runtime.boxes.size(), 1u);
  EXPECT_EQ(runtime.boxes[0].title, L"forms_test");
  EXPECT_EQ(runtime.boxes[0].Icon(), 0u);
  EXPECT_EQ(runtime.boxes[0].Buttons(), UINT(MB_OK));
}

TEST(Drives, SystemDriveIsListedWithItsFigures) {
  EXPECT_TRUE(DriveExists(L"C:"));
  EXPECT_TRUE(DriveExists(L"c:\\windows"));
  EXPECT_FALSE(DriveExists(L""));
  EXPECT_FALSE(DriveExists(L"1:"));
  Drive c = GetDrive(L"C:\\");
  EXPECT_EQ(c.DriveLetter, L'C');
  EXPECT_EQ(c.DriveType, Drive::Fixed);
  EXPECT_TRUE(c.IsReady);
  EXPECT_GT(c.TotalSize, 0u);
  EXPECT_LE(c.FreeSpace, c.TotalSize);
  EXPECT_FALSE(c.FileSystem.empty());
  bool listed = false;
  for (const Drive& d : Drives()) listed |= d.DriveLetter == L'C';
  EXPECT_TRUE(listed);
  EXPECT_TRUE(FileExists(AppPath() + L"\\forms_test.exe"));
  EXPECT_FALSE(FileExists(AppPath()));
}

// A letter defined onto a device with no file system (as the driver's disks are) exists.
TEST(Drives, RawDosDeviceCountsAsExisting) {
  wchar_t letter = 0;
  for (wchar_t c = L'Y'; c > L'D' && !letter; --c)
    if (!DriveExists(std::wstring(1, c))) letter = c;
  ASSERT_NE(letter, 0);
  std::wstring name = std::wstring(1, letter) + L":";
  ASSERT_TRUE(DefineDosDeviceW(DDD_RAW_TARGET_PATH, name.c_str(), L"\\Device\\Null"));
  EXPECT_TRUE(DriveExists(name + L"\\"));
  EXPECT_EQ(GetDrive(name).DriveLetter, letter);
  DefineDosDeviceW(DDD_RAW_TARGET_PATH | DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE,
                   name.c_str(), L"\\Device\\Null");
  EXPECT_FALSE(DriveExists(name));
}

// Under UAC the user's other logon session may have a letter this program cannot see: it
// is taken all the same, yet no drive to list here.
TEST(Drives, LetterOfTheOtherSessionIsTaken) {
  static wchar_t other = 0;
  for (wchar_t c = L'Y'; c > L'D' && !other; --c)
    if (!DriveExists(std::wstring(1, c))) other = c;
  ASSERT_NE(other, 0);
  const std::wstring name = std::wstring(1, other) + L":";
  DriveLetterSource before = SetLinkedSessionSource([] { return DWORD(1) << (other - L'A'); });
  EXPECT_TRUE(DriveExists(name));
  EXPECT_TRUE(DriveExists(std::wstring(1, wchar_t(other | 0x20)) + L":\\"));
  bool listed = false;
  for (const Drive& d : Drives()) listed |= d.DriveLetter == other;
  EXPECT_FALSE(listed);
  SetLinkedSessionSource(before);
  EXPECT_FALSE(DriveExists(name));
}

// The private namespace where the system gives one; the plain name where it does not, and
// then nothing past a boundary that was not made is called (Wine's AddSID ends the process).
TEST(GuardedName, NamespaceWhereTheSystemHasOne) {
  static std::string log;
  static DWORD createError;
  const auto boundary = [](LPCWSTR, ULONG) -> HANDLE { return log += "b", HANDLE(1); };
  const auto noBoundary = [](LPCWSTR, ULONG) -> HANDLE { return log += "b", nullptr; };
  const auto addSid = [](HANDLE*, PSID sid) -> BOOL {
    log += IsWellKnownSid(sid, WinBuiltinAdministratorsSid) ? "+admins" : "+other";
    return TRUE;
  };
  const auto remove = [](HANDLE) { log += "d"; };
  const auto create = [](LPSECURITY_ATTRIBUTES, LPVOID, LPCWSTR) -> HANDLE {
    log += "c";
    SetLastError(createError);
    return createError ? nullptr : HANDLE(2);
  };
  const auto open = [](LPVOID, LPCWSTR) -> HANDLE { return log += "o", HANDLE(3); };
  const std::wstring inside = std::wstring(NamespaceAlias) + L"\\SorvMount";
  const struct {
    NamespaceCalls calls;
    DWORD createError;
    std::wstring name;
    const char* log;
  } rows[] = {
      {{}, 0, L"SorvMount", ""},
      {{noBoundary, addSid, remove, create, open}, 0, L"SorvMount", "b"},
      {{boundary, addSid, remove, create, open}, 0, inside, "b+admins" "cd"},
      {{boundary, addSid, remove, create, open}, ERROR_ALREADY_EXISTS, inside, "b+admins" "cod"},
      {{boundary, addSid, remove, create, open}, ERROR_ACCESS_DENIED, L"SorvMount", "b+admins" "cd"},
  };
  for (const auto& r : rows) {
    log.clear();
    createError = r.createError;
    const NamespaceCalls before = SetNamespaceCalls(r.calls);
    EXPECT_EQ(GuardedName(L"SorvMount"), r.name) << r.log;
    EXPECT_EQ(GuardedName(L"SorvMount"), r.name) << "looked for once";
    SetNamespaceCalls(before);
    EXPECT_EQ(log, r.log);
  }
}

TEST(Shell, LauncherRecordsAndRealStartRuns) {
  std::vector<std::pair<std::wstring, WindowStyle>> starts;
  Launcher old = SetLauncher([&](const std::wstring& cmd, WindowStyle style) {
    starts.push_back({cmd, style});
    return DWORD(42);
  });
  EXPECT_EQ(Shell(L"C:\\x\\SorvDesk.exe", WindowStyle::NormalFocus), 42u);
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].first, L"C:\\x\\SorvDesk.exe");
  EXPECT_EQ(starts[0].second, WindowStyle::NormalFocus);
  SetLauncher(old);
  EXPECT_NE(Shell(L"cmd.exe /c exit 0", WindowStyle::Hide), 0u);
  EXPECT_EQ(Shell(AppPath() + L"\\no-such-program.exe"), 0u);
}

TEST(MsgBox, RealBoxShowsAndAnswers) {
  DialogAnswer a(L"forms_test", L"", IDNO);
  EXPECT_EQ(MsgBox(L"要打开载入的磁盘吗？", MB_YESNO | MB_ICONQUESTION), IDNO);
}

TEST(FileDialog, CancelIsDistinctFromAChoice) {
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  std::wstring path = std::wstring(dir) + L"选择.cvd";
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  CloseHandle(h);

  FileDialog cancel;
  cancel.DialogTitle = L"请选择要导入的文件：";
  cancel.Flags = 0x1800;
  cancel.Filter = L"CVD files (*.cvd)|*.cvd|All files (*.*)|*.*";
  DialogAnswer a(cancel.DialogTitle, L"");
  EXPECT_EQ(cancel.ShowOpen(), FileDialog::Cancelled);

  FileDialog open;
  open.DialogTitle = L"请选择要导入的文件：";
  open.Flags = 0x1800;
  open.Filter = L"CVD files (*.cvd)|*.cvd|All files (*.*)|*.*";
  open.FilterIndex = 2;
  DialogAnswer b(open.DialogTitle, path);
  EXPECT_EQ(open.ShowOpen(), FileDialog::Chosen);
  EXPECT_EQ(open.FileName, path);
  EXPECT_EQ(open.FilterIndex, 2);

  FileDialog save;
  save.DialogTitle = L"请选择放置加密盘文件的文件夹，并确定加密盘文件的文件名";
  save.Filter = L"CVD files (*.cvd)|*.cvd|All files (*.*)|*.*";
  save.FileName = L"Sorvane.cvd";
  std::wstring target = std::wstring(dir) + L"新的.cvd";
  DialogAnswer c(save.DialogTitle, target);
  EXPECT_EQ(save.ShowSave(), FileDialog::Chosen);
  EXPECT_EQ(save.FileName, target);
  DeleteFileW(path.c_str());
}

}  // namespace
}  // namespace forms_test
