// start.exe as a user meets it: separate processes driven from here, the real libraries and
// the installed driver.
#include <shlobj.h>
#include <tlhelp32.h>

#include <functional>

#include "DriveChoice.h"
#include "MessageBoxes.h"
#include "Pictures.h"
#include "Processes.h"
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

using TrayEndToEnd = TrayFixture;

TEST_F(TrayEndToEnd, OneInstanceMountTrayAndQuit) {
  // The driver starts with the system; a prefix made without it cannot mount.
  if (!DriverRunning())
    GTEST_SKIP() << "the driver service \"Sorvane\" is not installed or does not start here";

  path = dir / L"e2e box.cvd";
  MakeContainer(path, "e2e password", 10 << 20);
  SetSetting(L"Path", path);
  SetSetting(L"IsProtectFile", L"1");
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

  // Quit through the tray menu: right button on the icon, the last item, Yes.
  PostMessageW(prompt, tray::TrayCallbackMessage, 0, WM_RBUTTONUP);
  HWND menu = first.Window(L"#32768", nullptr, 10000);
  ASSERT_NE(menu, nullptr);
  PostMessageW(menu, WM_KEYDOWN, VK_UP, 0);
  PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
  testsupport::ShownBox ask =
      testsupport::WaitForBox(first.info.dwProcessId, L"要退出程序吗？", 10000);
  ASSERT_TRUE(ask);
  ask.Answer(IDYES);
  ASSERT_TRUE(first.Exited(30000));
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

}  // namespace
