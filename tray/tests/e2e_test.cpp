// start.exe as a user meets it: a separate process driven from here, the real libraries
// and, for the mount, the installed driver.
#include <shlobj.h>

#include "DriveChoice.h"
#include "ProcessHarness.h"
#include "Protection.h"
#include "TrayFixture.h"

namespace {

class TrayEndToEnd : public TrayFixture {
protected:
  std::wstring path = dir / L"e2e box.cvd";
  std::vector<std::vector<std::wstring>> answered;  // texts of the boxes answered on the way

  std::wstring StartExe() const { return forms::AppPath() + L"\\start.exe"; }

  // The password prompt, once the message boxes before it (a failed release of the file
  // protection where no driver runs) are answered with OK.
  HWND WaitPrompt(ProcessHarness& program) {
    HWND prompt = nullptr;
    WaitFor(
        [&] {
          if (HWND box = program.FindWindowOf(L"#32770", L"")) {
            answered.push_back(ProcessHarness::ChildTexts(box));
            ProcessHarness::Click(GetDlgItem(box, IDOK));
            Sleep(300);
          }
          prompt = program.FindWindowOf(L"", L"Velkiro");
          return prompt != nullptr;
        },
        20000);
    return prompt;
  }

  static bool Contains(const std::vector<std::wstring>& texts, const std::wstring& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
  }
};

TEST_F(TrayEndToEnd, PromptOnScreenAndOneInstanceOnly) {
  MakeContainer(path, "password");
  SetSetting(L"Path", path);
  SetSetting(L"IsProtectFile", L"0");
  ProcessHarness first;
  ASSERT_TRUE(first.Start(StartExe()));
  HWND prompt = WaitPrompt(first);
  ASSERT_NE(prompt, nullptr);
  auto texts = ProcessHarness::ChildTexts(prompt);
  EXPECT_TRUE(Contains(texts, L"e2e box.cvd"));
  EXPECT_TRUE(Contains(texts, L"确定"));
  EXPECT_TRUE(Contains(texts, L"开机自动加载"));

  // Kept for people to look at, beside the build's other output.
  SetForegroundWindow(prompt);
  Sleep(700);
  EXPECT_TRUE(SaveWindowBitmap(prompt, forms::AppPath() + L"\\..\\tray-prompt.bmp"));

  ProcessHarness second;
  ASSERT_TRUE(second.Start(StartExe()));
  HWND box = second.WaitWindow(L"#32770", L"注意", 15000);
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(Contains(ProcessHarness::ChildTexts(box),
                       L"您已经运行了向导程序或者“启动Velkiro”程序，请先退出再尝试运行本程序"));
  ProcessHarness::Click(GetDlgItem(box, IDOK));
  EXPECT_TRUE(second.WaitExit(10000));
  EXPECT_EQ(second.FindWindowOf(L"", L"Velkiro"), nullptr);
  EXPECT_TRUE(first.Running());
  EXPECT_TRUE(IsWindowVisible(prompt));

  ProcessHarness::Click(ProcessHarness::Child(prompt, L"Button", L"取消"));
  EXPECT_TRUE(first.WaitExit(10000));
}

// The kernel service "Sorvane" running, or started now.
bool DriverRunning() {
  SC_HANDLE scm = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
  if (!scm) return false;
  SC_HANDLE service = OpenServiceW(scm, L"Sorvane", SERVICE_QUERY_STATUS | SERVICE_START);
  bool running = false;
  if (service) {
    SERVICE_STATUS status{};
    if (QueryServiceStatus(service, &status) && status.dwCurrentState != SERVICE_RUNNING)
      StartServiceW(service, 0, nullptr);
    running = WaitFor([&] {
      return QueryServiceStatus(service, &status) && status.dwCurrentState == SERVICE_RUNNING;
    }, 5000);
    CloseServiceHandle(service);
  }
  CloseServiceHandle(scm);
  return running;
}

std::wstring LinkTarget(const std::wstring& link) {
  std::wstring target;
  IShellLinkW* shellLink = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&shellLink))))
    return target;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    wchar_t buffer[MAX_PATH] = {};
    if (SUCCEEDED(file->Load(link.c_str(), STGM_READ)) &&
        SUCCEEDED(shellLink->GetPath(buffer, MAX_PATH, nullptr, SLGP_RAWPATH)))
      target = buffer;
    file->Release();
  }
  shellLink->Release();
  return target;
}

bool HotKeyTaken(UINT modifiers, UINT key) {
  if (!RegisterHotKey(nullptr, 9, modifiers, key)) return true;
  UnregisterHotKey(nullptr, 9);
  return false;
}

TEST_F(TrayEndToEnd, MountTrayAndQuitWithTheDriver) {
  if (!DriverRunning())
    GTEST_SKIP() << "the driver service \"Sorvane\" is not installed or does not start here";
  MakeContainer(path, "e2e password", 10 << 20);
  SetSetting(L"Path", path);
  SetSetting(L"IsProtectFile", L"1");
  const std::wstring letter = tray::FreeDriveLetters().back();  // the automatic choice
  const std::wstring sendTo = GetRegValue(
      HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
      L"SendTo");
  ASSERT_FALSE(sendTo.empty());
  const std::wstring link = sendTo + L"\\加密盘" + letter.substr(0, 1) + L".lnk";
  DeleteFileW(link.c_str());
  ASSERT_FALSE(HotKeyTaken(MOD_CONTROL | MOD_ALT, VK_F12));

  ProcessHarness tray;
  ASSERT_TRUE(tray.Start(StartExe()));
  HWND prompt = WaitPrompt(tray);
  ASSERT_NE(prompt, nullptr);
  HWND edit = ProcessHarness::Child(prompt, L"Edit", L"");
  ASSERT_NE(edit, nullptr);
  SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"e2e password"));
  ProcessHarness::Click(ProcessHarness::Child(prompt, L"Button", L"确定"));

  std::vector<std::wstring> refusal;
  ASSERT_TRUE(WaitFor([&] {
    if (HWND box = tray.FindWindowOf(L"#32770", L"")) refusal = ProcessHarness::ChildTexts(box);
    return forms::DriveExists(letter) || !refusal.empty();
  }, 30000)) << "the drive did not appear";
  ASSERT_TRUE(refusal.empty()) << Ansi(refusal.size() > 1 ? refusal[1] : L"?");
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(prompt); }, 5000));
  EXPECT_TRUE(WaitFor([&] { return HotKeyTaken(MOD_CONTROL | MOD_ALT, VK_F12); }, 5000));
  ASSERT_TRUE(WaitFor([&] { return forms::FileExists(link); }, 15000));
  CoInitialize(nullptr);
  EXPECT_EQ(LinkTarget(link), letter + L"\\");
  CoUninitialize();

  // Quit through the tray menu: right button on the icon, the last item, Yes.
  PostMessageW(prompt, WM_USER + 1, 0, WM_RBUTTONUP);
  HWND menu = tray.WaitWindow(L"#32768", L"", 10000);
  ASSERT_NE(menu, nullptr);
  PostMessageW(menu, WM_KEYDOWN, VK_UP, 0);
  PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
  HWND ask = tray.WaitWindow(L"#32770", L"要退出程序吗？", 10000);
  ASSERT_NE(ask, nullptr);
  ProcessHarness::Click(GetDlgItem(ask, IDYES));
  ASSERT_TRUE(tray.WaitExit(30000));

  EXPECT_FALSE(forms::DriveExists(letter));
  EXPECT_FALSE(forms::FileExists(link));
  EXPECT_FALSE(HotKeyTaken(MOD_CONTROL | MOD_ALT, VK_F12));
  // Guarded: nobody may open the container now.
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(h, INVALID_HANDLE_VALUE);
  if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  UnprotectCvdFile();  // so that the test's folder can go
}

}  // namespace
