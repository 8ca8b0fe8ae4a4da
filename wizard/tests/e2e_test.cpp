// SorvForge.exe as a user meets it: run in its own process from the program folder, with the
// real libraries, SorvSparse and the installed driver, onto a drive that serves a test folder.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "MappedDrive.h"
#include "MessageBoxes.h"
#include "Pictures.h"
#include "NewDrive.h"
#include "Processes.h"
#include "RWIni.h"
#include "KeptProgramState.h"
#include "SorvLibs.h"
#include "TempDir.h"

namespace {

using namespace testsupport;

const wchar_t kOneInstance[] =
    L"您已经运行了向导程序或者“启动Velkiro”程序，请先退出再尝试运行本程序";

std::wstring Text(HWND window) {
  wchar_t text[512] = {};
  SendMessageW(window, WM_GETTEXT, 512, LPARAM(text));
  return text;
}

TEST(WizardEndToEnd, CreatesFormatsUnmountsAndHandsOver) {
  if (!DriverRunning())
    GTEST_SKIP() << "the driver service \"Sorvane\" is not installed or does not start here";
  KeptProgramState kept;
  TempDir dir(L"wizard_e2e");
  MappedDrive disk(dir.path());
  ASSERT_NE(disk.Letter(), 0);
  const std::wstring path = disk.Drive() + L"\\Sorvane.cvd";
  const std::wstring letter = wizard::FreeLetterFromZ();  // the highest free letter
  ASSERT_FALSE(letter.empty());
  const std::wstring log = dir / L"format-calls.txt";
  SetEnvironmentVariableW(L"SORV_FORMAT_LOG", log.c_str());

  Program wizard(L"SorvForgeLogged.exe");  // the test build: it writes the format log
  HWND step1 = wizard.Window(nullptr, L"创建加密盘向导(4-1)", 20000);
  ASSERT_NE(step1, nullptr);
  // A second wizard is refused and keeps its message open meanwhile.
  Program second(L"SorvForge.exe");
  ShownBox refusal = WaitForBox(second.info.dwProcessId, L"注意", 15000);
  ASSERT_TRUE(refusal);
  EXPECT_EQ(refusal.text, kOneInstance);

  // The test drive's row, chosen with the arrow keys in the focused list as a user would.
  HWND frame3 = nullptr, listView = nullptr;
  for (HWND f = nullptr; (f = FindWindowExW(step1, f, L"Button", nullptr));) {
    if (HWND lv = FindWindowExW(f, nullptr, L"SysListView32", nullptr)) listView = lv;
    if (Text(f).find(L"请在下面") != std::wstring::npos) frame3 = f;
  }
  ASSERT_NE(listView, nullptr);
  ASSERT_NE(frame3, nullptr);
  // Its repaint gives the list the focus; then down the rows until the test drive's.
  ASSERT_TRUE(WaitFor(
      [&] {
        RedrawWindow(step1, nullptr, nullptr, RDW_INVALIDATE);
        GUITHREADINFO gui{sizeof gui};
        return GetGUIThreadInfo(GetWindowThreadProcessId(step1, nullptr), &gui) &&
               gui.hwndFocus == listView;
      },
      10000));
  const std::wstring chosen = disk.Drive() + L" ";
  PostMessageW(listView, WM_KEYDOWN, VK_HOME, 0);
  for (int row = 0; row < 26 && Text(frame3).rfind(chosen, 0) != 0; ++row) {
    const std::wstring before = Text(frame3);
    PostMessageW(listView, WM_KEYDOWN, VK_DOWN, 0);
    WaitFor([&] { return Text(frame3) != before; }, 2000);
  }
  ASSERT_EQ(Text(frame3).rfind(chosen, 0), 0u) << forms::ToAnsi(Text(frame3));
  // Kept for people to look at, beside the build's other output: its title and the drive
  // list's texts drawn.
  SetForegroundWindow(step1);
  const RECT rows = InPicture(step1, listView);
  auto drawn = [&](const Picture& p) {
    return TitlePixels(p, step1) >= 20 && CountNear(p, rows, RGB(0, 0, 0), 0x40) >= 50;
  };
  Picture shot = ShownWindowWhen(step1, drawn, 5000);
  EXPECT_TRUE(shot.Save(forms::AppPath() + L"\\..\\wizard-step1.bmp"));
  EXPECT_TRUE(drawn(shot));

  HWND size = FindWindowExW(frame3, nullptr, L"Edit", nullptr);
  ASSERT_NE(size, nullptr);
  SendMessageW(size, WM_SETTEXT, 0, LPARAM(L"10"));
  Click(Child(step1, L"Button", L"下一步"));

  HWND step2 = wizard.Window(nullptr, L"创建加密盘向导(4-2)", 15000);
  ASSERT_NE(step2, nullptr);
  HWND first = Child(step2, L"Edit", nullptr),
       again = FindWindowExW(step2, first, L"Edit", nullptr);
  SendMessageW(first, WM_SETTEXT, 0, LPARAM(L"e2e-password"));
  SendMessageW(again, WM_SETTEXT, 0, LPARAM(L"e2e-password"));
  Click(Child(step2, L"Button", L"下一步"));

  // Made and mounted: the letter names our device while the user reads the message.
  ShownBox ready = WaitForBox(wizard.info.dwProcessId, L"提醒", 60000);
  ASSERT_TRUE(ready) << "no format message";
  wchar_t target[MAX_PATH] = {};
  QueryDosDeviceW(letter.c_str(), target, MAX_PATH);
  EXPECT_EQ(std::wstring(target), wizard::OurDevice);
  ready.Answer(IDOK);

  HWND step4 = wizard.Window(nullptr, L"创建加密盘向导(4-4)", 30000);
  ASSERT_NE(step4, nullptr);
  EXPECT_FALSE(forms::DriveExists(letter));
  Click(Child(step4, L"Button", L"确定"));
  ASSERT_TRUE(wizard.Exited(15000));

  // The tray program got the semaphore and asks for the password, though the refused wizard
  // still shows its message.
  HWND prompt = FindShown(0, nullptr, L"Velkiro", 20000);
  ASSERT_NE(prompt, nullptr);
  DWORD trayPid = 0;
  GetWindowThreadProcessId(prompt, &trayPid);
  HANDLE tray = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, trayPid);
  PostMessageW(prompt, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(tray, 15000) != WAIT_OBJECT_0) TerminateProcess(tray, 1);
  CloseHandle(tray);
  refusal.Answer(IDOK);
  EXPECT_TRUE(second.Exited(10000));

  // The container: full size, header, listed once, current; format and label on our letter.
  EXPECT_EQ(ReadBytes(path).size(), 10u << 20);
  EXPECT_EQ(sorvlib::CVD_VerifyHeader(forms::ToAnsi(path).c_str()), 0);
  RWIni ini;
  ini.SetINIFileName(kept.list.path);
  EXPECT_EQ(ini.GetIniKey(L"CvdFileCount", L"Count"), L"1");
  EXPECT_EQ(ini.GetIniKey(L"CvdFileList", L"1"), path);
  EXPECT_EQ(GetSetting(L"Path"), path);
  const std::string drive = forms::ToAnsi(letter);
  auto calls = TakeLines(log);
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].substr(0, 7), "format ");
  EXPECT_EQ(calls[0].substr(calls[0].size() - 5), " " + std::to_string(drive[0] - 'A') + " 1");
  EXPECT_EQ(calls[1], "label " + drive + "\\ \xE5\x8A\xA0\xE5\xAF\x86\xE7\x9B\x98");
}

// An elevated program that appends to any file an environment variable names is a tool for
// whoever sets the variable: the format log is in the test build only.
TEST(WizardBuild, OnlyTheTestBuildCarriesTheFormatLog) {
  auto carries = [](const wchar_t* exe) {
    const std::string bytes = ReadBytes(forms::AppPath() + L"\\" + exe);
    const std::string name = "SORV_FORMAT_LOG";
    std::string wide;
    for (char c : name) wide += {c, '\0'};
    EXPECT_GT(bytes.size(), 100000u) << forms::ToAnsi(exe);
    return bytes.find(name) != std::string::npos || bytes.find(wide) != std::string::npos;
  };
  EXPECT_FALSE(carries(L"SorvForge.exe"));
  EXPECT_TRUE(carries(L"SorvForgeLogged.exe"));
}

}  // namespace
