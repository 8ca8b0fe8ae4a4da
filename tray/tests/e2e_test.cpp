// start.exe as a user meets it: separate processes driven from here, the real libraries and
// the installed driver.
#include <shlobj.h>

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
  const std::wstring link =
      GetRegValue(HKEY_CURRENT_USER,
                  L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                  L"SendTo") +
      L"\\加密盘" + letter.substr(0, 1) + L".lnk";
  DeleteFileW(link.c_str());
  ASSERT_FALSE(CtrlAltF12Taken());

  Program first(L"start.exe");
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

  SendMessageW(FindWindowExW(prompt, nullptr, L"Edit", nullptr), WM_SETTEXT, 0,
               LPARAM(L"e2e password"));
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
