// start.exe as a user meets it: separate processes driven from here, the real libraries and
// the installed driver.
#include <shlobj.h>
#include <tlhelp32.h>

#include <functional>
#include <thread>

#include "DriveChoice.h"
#include "MessageBoxes.h"
#include "Pictures.h"
#include "Processes.h"
#include "TrayMenu.h"
#include "Protection.h"
#include "TrayFixture.h"

namespace {

using namespace testsupport;

std::wstring LinkTarget(const std::wstring& link) {
  wchar_t target[MAX_PATH] = {};
  IShellLinkW* shellLink = nullptr;
  IPersistFile* file = nullptr;
  CoInitialize(nullptr);
  CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&shellLink));
  if (shellLink && SUCCEEDED(shellLink->QueryInterface(IID_PPV_ARGS(&file)))) {
    if (SUCCEEDED(file->Load(link.c_str(), STGM_READ)))
      shellLink->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
    file->Release();
  }
  if (shellLink) shellLink->Release();
  CoUninitialize();
  return target;
}

// A process that `parent` started with this file name, or 0.
DWORD ChildNamed(const Program& parent, const wchar_t* name) {
  DWORD found = 0;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more && !found;
       more = Process32NextW(snapshot, &entry))
    if (entry.th32ParentProcessID == parent.info.dwProcessId && _wcsicmp(entry.szExeFile, name) == 0)
      found = entry.th32ProcessID;
  CloseHandle(snapshot);
  return found;
}

bool CtrlAltF12Taken() {
  if (!RegisterHotKey(nullptr, 9, MOD_CONTROL | MOD_ALT, VK_F12)) return true;
  UnregisterHotKey(nullptr, 9);
  return false;
}

// Writes (or reads back and compares) a pattern at sector 8 through the drive; offsets go
// with each request, as Wine keeps no position for devices.
bool Pattern(const std::wstring& drive, bool write) {
  HANDLE h = CreateFileW((L"\\\\.\\" + drive).c_str(), GENERIC_READ | GENERIC_WRITE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  std::string expected(512, '\0'), data(512, '\0');
  for (size_t i = 0; i < expected.size(); ++i) expected[i] = char(i * 5 + 1);
  OVERLAPPED at{};
  at.Offset = 8 * 512;
  DWORD n = 0;
  bool ok = write ? WriteFile(h, expected.data(), 512, &n, &at) && n == 512
                  : ReadFile(h, data.data(), 512, &n, &at) && n == 512 && data == expected;
  CloseHandle(h);
  return ok;
}

// Letters that name a device of the driver, in this session or every session.
std::wstring DrivesOfTheDriver() {
  std::wstring found;
  for (wchar_t letter = L'A'; letter <= L'Z'; ++letter) {
    wchar_t target[512] = {};
    if (QueryDosDeviceW(std::wstring{letter, L':'}.c_str(), target, 512) &&
        wcsstr(target, L"SorvDisk"))
      found += letter;
  }
  return found;
}

// Types the password into the prompt and waits for the drive; false on a message instead.
bool MountThroughPrompt(const Program& tray, HWND prompt, const std::wstring& letter,
                        const wchar_t* password) {
  SendMessageW(FindWindowExW(prompt, nullptr, L"Edit", nullptr), WM_SETTEXT, 0, LPARAM(password));
  Click(FindWindowExW(prompt, nullptr, L"Button", L"确定"));
  testsupport::ShownBox refusal;
  WaitFor(
      [&] {
        refusal = testsupport::FindBox(tray.info.dwProcessId, nullptr);
        return forms::DriveExists(letter) || refusal;
      },
      30000);
  EXPECT_FALSE(refusal) << forms::ToAnsi(refusal.text);
  // The hot key is the last of the tray's set-up before its shortcut.
  return !refusal && WaitFor([&] { return !IsWindowVisible(prompt) && CtrlAltF12Taken(); }, 10000);
}

class TrayEndToEnd : public TrayFixture {
 protected:
  void SetUp() override {
    // The driver starts with the system; a prefix made without it cannot mount.
    if (!DriverRunning())
      GTEST_SKIP() << "the driver service \"Sorvane\" is not installed or does not start here";
  }
  // The current container, 10 MiB, with this password.
  void UseContainer(const wchar_t* name, const char* password, const wchar_t* protect) {
    path = dir / name;
    MakeContainer(path, password, 10 << 20);
    SetSetting(L"Path", path);
    SetSetting(L"IsProtectFile", protect);
  }
};

TEST_F(TrayEndToEnd, OneInstanceMountTrayAndQuit) {
  UseContainer(L"e2e box.cvd", "e2e password", L"1");
  // However the test ends, the driver lets go of the guarded container, so that the folder
  // can go and a later run in this prefix can make its container again.
  struct Unprotect {
    ~Unprotect() { UnprotectCvdFile(); }
  } unprotect;
  const std::wstring letter = tray::FreeDriveLetters().back();  // the automatic choice
  PWSTR sendTo = nullptr;
  ASSERT_EQ(SHGetKnownFolderPath(FOLDERID_SendTo, 0, nullptr, &sendTo), S_OK);
  const std::wstring link = sendTo + (L"\\加密盘" + letter.substr(0, 1) + L".lnk");
  CoTaskMemFree(sendTo);
  DeleteFileW(link.c_str());
  ASSERT_FALSE(CtrlAltF12Taken());

  // Any program of the user can set windir: the tray runs with it, but never what it names.
  const std::wstring planted = forms::AppPath() + L"\\tray_planted";
  DeleteFileW((planted + L"\\ran.txt").c_str());
  wchar_t windir[MAX_PATH] = {};
  GetEnvironmentVariableW(L"windir", windir, MAX_PATH);
  SetEnvironmentVariableW(L"windir", planted.c_str());
  Program first(L"start.exe");
  SetEnvironmentVariableW(L"windir", windir);
  HWND prompt = first.Window(nullptr, L"Velkiro", 20000);
  ASSERT_NE(prompt, nullptr);
  EXPECT_NE(FindWindowExW(prompt, nullptr, nullptr, L"e2e box.cvd"), nullptr);
  // Kept for people to look at, beside the build's other output: its title, and a cross
  // in its close button rather than the letter of a missing symbol font.
  SetForegroundWindow(prompt);
  using testsupport::CloseGlyphSymmetry, testsupport::TitlePixels;
  testsupport::Picture shot = testsupport::ShownWindowWhen(
      prompt,
      [&](const testsupport::Picture& p) {
        return TitlePixels(p, prompt) >= 20 && CloseGlyphSymmetry(p, prompt) > 0.8;
      },
      5000);
  EXPECT_TRUE(shot.Save(forms::AppPath() + L"\\..\\tray-prompt.bmp"));
  EXPECT_GE(TitlePixels(shot, prompt), 20);
  EXPECT_GT(CloseGlyphSymmetry(shot, prompt), 0.8) << "letters in the caption buttons";
  {
    Program second(L"start.exe");
    testsupport::ShownBox box = testsupport::WaitForBox(second.info.dwProcessId, L"注意", 15000);
    ASSERT_TRUE(box);
    EXPECT_EQ(box.text, L"您已经运行了向导程序或者“启动Velkiro”程序，请先退出再尝试运行本程序");
    box.Answer(IDOK);
    EXPECT_TRUE(second.Exited(10000));
  }

  HWND passwordBox = FindWindowExW(prompt, nullptr, L"Edit", nullptr);
  SendMessageW(passwordBox, WM_SETTEXT, 0, LPARAM(L"e2e password"));
  Click(FindWindowExW(prompt, nullptr, L"Button", L"确定"));
  testsupport::ShownBox refusal;
  ASSERT_TRUE(WaitFor(
      [&] {
        refusal = testsupport::FindBox(first.info.dwProcessId, nullptr);
        return forms::DriveExists(letter) || refusal;
      },
      30000))
      << "the drive did not appear";
  ASSERT_FALSE(refusal) << forms::ToAnsi(refusal.text);
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(prompt) && CtrlAltF12Taken(); }, 5000));
  ASSERT_TRUE(WaitFor([&] { return forms::FileExists(link); }, 15000));
  EXPECT_EQ(LinkTarget(link), letter + L"\\");
  // The hidden prompt holds no password for another program to read.
  wchar_t left[64] = {L'?'};
  SendMessageW(passwordBox, WM_GETTEXT, 64, LPARAM(left));
  EXPECT_STREQ(left, L"");

  // A double click on the icon opens the drive with the system's explorer.
  PostMessageW(prompt, tray::TrayCallbackMessage, 0, WM_LBUTTONDBLCLK);
  DWORD explorer = 0;
  EXPECT_TRUE(WaitFor([&] { return (explorer = ChildNamed(first, L"explorer.exe")) != 0; }, 10000));
  if (HANDLE p = OpenProcess(PROCESS_TERMINATE, FALSE, explorer)) {
    TerminateProcess(p, 0);
    CloseHandle(p);
  }
  EXPECT_FALSE(forms::FileExists(planted + L"\\ran.txt")) << "the planted explorer ran";

  ASSERT_TRUE(QuitThroughTrayMenu(first, prompt));
  EXPECT_FALSE(forms::DriveExists(letter));
  EXPECT_FALSE(forms::FileExists(link));
  EXPECT_FALSE(CtrlAltF12Taken());
  // Guarded: nobody may open the container now.
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(h, INVALID_HANDLE_VALUE);
  if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
}

// A tray program that dies leaves its drive to nobody: the next start takes it off, says so,
// and mounts the container again with its data.
TEST_F(TrayEndToEnd, NextStartSettlesTheDriveOfAKilledTray) {
  UseContainer(L"orphan.cvd", "orphan password", L"0");
  SetSetting(L"DriveLetter", L"");
  const std::wstring letter = tray::FreeDriveLetters().back();

  {
    Program first(L"start.exe");
    HWND prompt = first.Window(nullptr, L"Velkiro", 20000);
    ASSERT_NE(prompt, nullptr);
    ASSERT_TRUE(MountThroughPrompt(first, prompt, letter, L"orphan password"));
    ASSERT_TRUE(Pattern(letter, true));
    TerminateProcess(first.info.hProcess, 9);
    ASSERT_TRUE(first.Exited(10000));
  }
  ASSERT_TRUE(forms::DriveExists(letter)) << "the drive went with its program";

  Program next(L"start.exe");
  testsupport::ShownBox told = testsupport::WaitForBox(next.info.dwProcessId, L"注意", 30000);
  ASSERT_TRUE(told);
  EXPECT_NE(told.text.find(letter + L"一直处于加载状态，现已将其卸载"), std::wstring::npos)
      << forms::ToAnsi(told.text);
  told.Answer(IDOK);
  HWND prompt = next.Window(nullptr, L"Velkiro", 20000);
  ASSERT_NE(prompt, nullptr);
  EXPECT_EQ(DrivesOfTheDriver(), L"");
  ASSERT_TRUE(MountThroughPrompt(next, prompt, letter, L"orphan password"));
  EXPECT_TRUE(Pattern(letter, false)) << "the data written before the kill";

  ASSERT_TRUE(QuitThroughTrayMenu(next, prompt));
  EXPECT_EQ(DrivesOfTheDriver(), L"");
}

// Signing out anyway after the refusal: the drive goes before the session does.
TEST_F(TrayEndToEnd, SessionEndUnmountsAfterTheRefusedLogOff) {
  UseContainer(L"session.cvd", "session password", L"0");
  const std::wstring letter = tray::FreeDriveLetters().back();
  Program tray(L"start.exe");
  HWND prompt = tray.Window(nullptr, L"Velkiro", 20000);
  ASSERT_NE(prompt, nullptr);
  ASSERT_TRUE(MountThroughPrompt(tray, prompt, letter, L"session password"));

  LRESULT allowed = 1;
  std::thread query([&] { allowed = SendMessageW(prompt, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF); });
  testsupport::ShownBox refusal = testsupport::WaitForBox(tray.info.dwProcessId, L"注意", 10000);
  EXPECT_TRUE(refusal);
  refusal.Answer(IDOK);
  query.join();
  EXPECT_EQ(allowed, 0);
  EXPECT_TRUE(forms::DriveExists(letter));

  DWORD_PTR answer = 0;
  ASSERT_TRUE(SendMessageTimeoutW(prompt, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL,
                                  60000, &answer));
  EXPECT_FALSE(forms::DriveExists(letter));
  EXPECT_EQ(DrivesOfTheDriver(), L"");
  const std::string ask = forms::ToAnsi(L"/query 0 " + FreeDriveLetter());
  EXPECT_EQ(sorvlib::SorvMount(ask.c_str()), 0) << "the device still serves the container";
  ASSERT_TRUE(QuitThroughTrayMenu(tray, prompt));
}

}  // namespace
