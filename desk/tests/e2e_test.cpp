// SorvDesk as a user meets it: started as its own process, a container created through the
// create dialog, selected for mounting, mounted by the tray program with the driver, and
// sectors written and read back through the drive. Keeps a picture of the main window.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <vector>

#include "ContainerList.h"
#include "KeyBlocks.h"
#include "Reg.h"
#include "SavedSettings.h"
#include "SorvLibs.h"
#include "SysTray.h"
#include "TempDir.h"
#include "forms.h"

namespace {

bool WaitFor(const std::function<bool()>& done, DWORD ms) {
  for (DWORD waited = 0; !done(); waited += 100) {
    if (waited >= ms) return false;
    Sleep(100);
  }
  return true;
}

// Posted, so that a modal loop the click starts does not hold up the test.
void Click(HWND w) { PostMessageW(w, BM_CLICK, 0, 0); }

// A visible top-level window of the process; a null class or caption matches any.
HWND Window(DWORD pid, const wchar_t* cls, const wchar_t* caption, DWORD ms) {
  HWND found = nullptr;
  WaitFor(
      [&] {
        for (HWND w = nullptr; !found && (w = FindWindowExW(nullptr, w, cls, caption));) {
          DWORD owner = 0;
          GetWindowThreadProcessId(w, &owner);
          if (owner == pid && IsWindowVisible(w)) found = w;
        }
        return found != nullptr;
      },
      ms);
  return found;
}

// Descendants of a window of one class, in the order of their control ids (creation order).
std::vector<HWND> Children(HWND parent, const wchar_t* cls) {
  std::pair<const wchar_t*, std::vector<HWND>> search{cls, {}};
  EnumChildWindows(
      parent,
      [](HWND w, LPARAM lp) {
        auto* s = reinterpret_cast<std::pair<const wchar_t*, std::vector<HWND>>*>(lp);
        wchar_t name[64] = {};
        GetClassNameW(w, name, 64);
        if (lstrcmpiW(name, s->first) == 0) s->second.push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  std::sort(search.second.begin(), search.second.end(),
            [](HWND a, HWND b) { return GetDlgCtrlID(a) < GetDlgCtrlID(b); });
  return search.second;
}

HWND Child(HWND parent, const wchar_t* cls, const std::wstring& text) {
  for (HWND w : Children(parent, cls)) {
    wchar_t t[128] = {};
    GetWindowTextW(w, t, 128);
    if (text == t) return w;
  }
  return nullptr;
}

struct Process {
  HANDLE handle = nullptr;
  DWORD pid = 0;
  ~Process() {
    if (handle && WaitForSingleObject(handle, 0) != WAIT_OBJECT_0) TerminateProcess(handle, 1);
    if (handle) CloseHandle(handle);
  }
  bool Exited(DWORD ms) const { return WaitForSingleObject(handle, ms) == WAIT_OBJECT_0; }
  // A program of the program folder, started as a user starts it: alone, no arguments.
  bool Start(const wchar_t* program) {
    const std::wstring exe = forms::AppPath() + L"\\" + program;
    std::wstring line = L"\"" + exe + L"\"";
    STARTUPINFOW si{sizeof si};
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
      return false;
    CloseHandle(pi.hThread);
    handle = pi.hProcess;
    pid = pi.dwProcessId;
    return true;
  }
};

// The window as the X display shows it, read by ImageMagick's import into a 24-bit BMP. (A
// Wine program's screen DC reads Wine's own desktop surface, not the windows drawn on it.)
bool CaptureFromDisplay(HWND hwnd, const std::wstring& bmp) {
  using UnixName = char*(CDECL*)(const wchar_t*);
  auto unixName = reinterpret_cast<UnixName>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name"));
  if (!unixName) return false;
  DeleteFileW(bmp.c_str());
  const std::string file = unixName(bmp.c_str());
  RECT r;
  GetWindowRect(hwnd, &r);
  wchar_t system[MAX_PATH];
  GetSystemDirectoryW(system, MAX_PATH);
  // Wine's start.exe by its full path: the program folder holds the tray program's start.exe.
  std::wstring line = L"\"" + std::wstring(system) + L"\\start.exe\" /unix /usr/bin/import " +
                      L"-window root -crop " + std::to_wstring(r.right - r.left) + L"x" +
                      std::to_wstring(r.bottom - r.top) + L"+" + std::to_wstring(r.left) + L"+" +
                      std::to_wstring(r.top) + L" +repage BMP3:" + forms::FromAnsi(file);
  STARTUPINFOW si{sizeof si};
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                      nullptr, &si, &pi))
    return false;
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  // import writes the file at its end; it is done when the file holds the whole picture.
  const size_t bytes = 54 + size_t(((r.right - r.left) * 3 + 3) & ~3) * (r.bottom - r.top);
  return WaitFor([&] { return ReadBytes(bmp).size() >= bytes; }, 15000);
}

// A 24-bit BMP as 32-bit pixels, top row first.
struct Picture {
  int w = 0, h = 0;
  std::vector<uint32_t> pixels;
  uint32_t At(int x, int y) const { return pixels[size_t(y) * w + x] & 0xFFFFFF; }
};

Picture LoadBmp(const std::wstring& file) {
  const std::string data = ReadBytes(file);
  Picture p;
  BITMAPFILEHEADER head;
  BITMAPINFOHEADER info;
  if (data.size() < sizeof head + sizeof info) return p;
  memcpy(&head, data.data(), sizeof head);
  memcpy(&info, data.data() + sizeof head, sizeof info);
  if (info.biBitCount != 24) return p;
  const int w = info.biWidth, h = std::abs(info.biHeight);
  const size_t stride = size_t(w * 3 + 3) & ~size_t(3);
  if (data.size() < head.bfOffBits + stride * h) return p;
  p.w = w;
  p.h = h;
  p.pixels.resize(size_t(w) * h);
  for (int y = 0; y < h; ++y) {
    const int row = info.biHeight > 0 ? h - 1 - y : y;
    auto s = reinterpret_cast<const unsigned char*>(data.data()) + head.bfOffBits + stride * row;
    for (int x = 0; x < w; ++x)
      p.pixels[size_t(y) * w + x] = s[3 * x] | s[3 * x + 1] << 8 | s[3 * x + 2] << 16;
  }
  return p;
}

// Pixels of a rectangle (in the window) that differ from its most common colour.
int InkPixels(const Picture& p, RECT r) {
  std::map<uint32_t, int> counts;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) ++counts[p.At(x, y)];
  int most = 0, total = 0;
  for (auto& [colour, n] : counts) most = std::max(most, n), total += n;
  return total - most;
}

// A rectangle of a child window in its top-level window's coordinates.
RECT InWindow(HWND child, HWND top) {
  RECT c, t;
  GetWindowRect(child, &c);
  GetWindowRect(top, &t);
  return {c.left - t.left, c.top - t.top, c.right - t.left, c.bottom - t.top};
}

bool DriverRunning() {
  SC_HANDLE scm = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
  SC_HANDLE driver = scm ? OpenServiceW(scm, L"Sorvane", SERVICE_QUERY_STATUS) : nullptr;
  SERVICE_STATUS status{};
  bool running = driver && WaitFor(
                               [&] {
                                 return QueryServiceStatus(driver, &status) &&
                                        status.dwCurrentState == SERVICE_RUNNING;
                               },
                               5000);
  if (driver) CloseServiceHandle(driver);
  if (scm) CloseServiceHandle(scm);
  return running;
}

// The list file of the common program folder, put back as it was.
struct KeptFile {
  std::wstring path;
  std::string bytes;
  bool existed;
  explicit KeptFile(std::wstring p) : path(std::move(p)), existed(forms::FileExists(path)) {
    if (existed) bytes = ReadBytes(path);
    DeleteFileW(path.c_str());
  }
  ~KeptFile() {
    DeleteFileW(path.c_str());
    if (existed) WriteBytes(path, bytes);
  }
};

// The letter of a drive that appears beside those of `before` within 30 s; 0 when none does.
wchar_t NewDrive(DWORD before) {
  wchar_t letter = 0;
  WaitFor(
      [&] {
        const DWORD added = GetLogicalDrives() & ~before;
        for (int i = 0; i < 26 && !letter; ++i)
          if (added & (1u << i)) letter = wchar_t(L'A' + i);
        return letter != 0;
      },
      30000);
  return letter;
}

// The drive's device, for sector reads and writes.
HANDLE OpenDrive(wchar_t letter) {
  const std::wstring device = std::wstring(L"\\\\.\\") + letter + L":";
  return CreateFileW(device.c_str(), GENERIC_READ | GENERIC_WRITE,
                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
}

bool SectorsReadBack(wchar_t letter) {
  HANDLE h = OpenDrive(letter);
  if (h == INVALID_HANDLE_VALUE) return false;
  std::string out(1024, '\0'), in(1024, '\0');
  for (size_t i = 0; i < out.size(); ++i) out[i] = char(i * 7 + 3);
  OVERLAPPED at{};
  at.Offset = 8 * 512;  // Wine keeps no position for devices: each request carries its own
  DWORD n = 0;
  bool ok = WriteFile(h, out.data(), DWORD(out.size()), &n, &at) && n == out.size();
  ok = ok && ReadFile(h, in.data(), DWORD(in.size()), &n, &at) && n == in.size() && in == out;
  CloseHandle(h);
  return ok;
}

// A click with the mouse on the list view's first row.
void ClickFirstRow(HWND listView) {
  HWND header = reinterpret_cast<HWND>(SendMessageW(listView, LVM_GETHEADER, 0, 0));
  RECT hr{};
  GetClientRect(header, &hr);
  const LPARAM onRow = MAKELPARAM(120, hr.bottom + 8);
  PostMessageW(listView, WM_LBUTTONDOWN, MK_LBUTTON, onRow);
  PostMessageW(listView, WM_LBUTTONUP, 0, onRow);
}

// Quits the tray program as a user does: its icon's menu, the last item, Yes.
bool QuitTray(HWND prompt, const Process& tray) {
  if (!WaitFor([&] { return !IsWindowVisible(prompt); }, 10000)) return false;
  HWND menu = nullptr;
  WaitFor(
      [&] {
        PostMessageW(prompt, tray::TrayCallbackMessage, 0, WM_RBUTTONUP);
        return (menu = Window(tray.pid, L"#32768", nullptr, 1000)) != nullptr;
      },
      15000);
  if (!menu) return false;
  PostMessageW(menu, WM_KEYDOWN, VK_UP, 0);
  PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
  HWND quit = Window(tray.pid, L"#32770", L"要退出程序吗？", 10000);
  if (!quit) return false;
  Click(GetDlgItem(quit, IDYES));
  return tray.Exited(30000);
}

TEST(DeskEndToEnd, CreateSelectAndMount) {
  if (!DriverRunning())
    GTEST_SKIP() << "the driver service \"Sorvane\" is not installed or does not start here";
  SavedSettings settings{L"Path", L"TipsOfDay", L"IsProtectFile", L"DriveLetter", L"IsAutoMount"};
  SetSetting(L"TipsOfDay", L"0");
  KeptFile list(forms::AppPath() + L"\\List.ini");
  TempDir dir(L"desk e2e");
  const std::wstring path = dir / L"my box.cvd";

  // Started as a user starts it: the program alone, no arguments.
  Process desk;
  ASSERT_TRUE(desk.Start(L"SorvDesk.exe"));
  HWND main = Window(desk.pid, nullptr, L"管理Velkiro", 20000);
  ASSERT_NE(main, nullptr);
  HWND create = Child(main, L"SorvButton", L"创建");
  ASSERT_NE(create, nullptr);
  Click(create);
  HWND form2 = Window(desk.pid, nullptr, L"创建", 10000);
  ASSERT_NE(form2, nullptr);
  const std::vector<HWND> edits = Children(form2, L"Edit");
  ASSERT_EQ(edits.size(), 4u);
  const wchar_t* inputs[] = {path.c_str(), L"12", L"e2e-password", L"e2e-password"};
  for (int i = 0; i < 4; ++i) SendMessageW(edits[i], WM_SETTEXT, 0, LPARAM(inputs[i]));
  Click(Child(form2, L"Button", L"创建"));
  HWND done = Window(desk.pid, L"#32770", L"恭喜，加密盘创建成功！要加载刚刚创建的文件吗？", 30000);
  ASSERT_NE(done, nullptr);
  Click(GetDlgItem(done, IDYES));
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(form2) || !IsWindowVisible(form2); }, 10000));
  EXPECT_EQ(GetSetting(L"Path"), path);

  // The picture: the main window with its row and all eight buttons.
  HWND listView = Children(main, WC_LISTVIEWW).at(0);
  ASSERT_TRUE(WaitFor([&] { return SendMessageW(listView, LVM_GETITEMCOUNT, 0, 0) == 1; }, 5000));
  SetForegroundWindow(main);
  const std::vector<HWND> buttons = Children(main, L"SorvButton");
  ASSERT_EQ(buttons.size(), 8u);
  // Ink inside each button below its icon (its border left out): the caption.
  auto captionsDrawn = [&](const Picture& p) {
    for (HWND b : buttons) {
      RECT r = InWindow(b, main);
      r = {r.left + 4, (r.top + 2 * r.bottom) / 3, r.right - 4, r.bottom - 4};
      if (r.bottom > p.h || r.right > p.w || InkPixels(p, r) < 15) return false;
    }
    return true;
  };
  // Kept for people to look at, beside the build's other output.
  const std::wstring picture = forms::AppPath() + L"\\..\\desk-main.bmp";
  Picture shot;
  WaitFor(
      [&] {
        shot = CaptureFromDisplay(main, picture) ? LoadBmp(picture) : Picture();
        return captionsDrawn(shot);
      },
      20000);
  ASSERT_GT(shot.w, 0) << "no picture of the display";
  EXPECT_TRUE(captionsDrawn(shot)) << "the buttons' captions are not drawn";
  RECT rows = InWindow(listView, main);
  rows.top += 22;
  rows.bottom = rows.top + 18;
  EXPECT_GT(InkPixels(shot, rows), 50) << "the row is not drawn";

  // Select the row with the mouse, then "加载" and Yes: the tray program starts.
  ClickFirstRow(listView);
  HWND mount = Child(main, L"SorvButton", L"加载");
  ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(mount) != FALSE; }, 5000));
  const DWORD drivesBefore = GetLogicalDrives();
  Click(mount);
  HWND ask = Window(desk.pid, L"#32770", L"加载成功", 10000);
  ASSERT_NE(ask, nullptr);
  Click(GetDlgItem(ask, IDYES));

  HWND prompt = nullptr;
  ASSERT_TRUE(WaitFor(
      [&] {
        prompt = FindWindowW(nullptr, L"Velkiro");
        return prompt && IsWindowVisible(prompt);
      },
      20000));
  Process tray;
  GetWindowThreadProcessId(prompt, &tray.pid);
  tray.handle = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, tray.pid);
  SendMessageW(Children(prompt, L"Edit").at(0), WM_SETTEXT, 0, LPARAM(L"e2e-password"));
  Click(Child(prompt, L"Button", L"确定"));
  const wchar_t letter = NewDrive(drivesBefore);
  ASSERT_NE(letter, 0) << "the drive did not appear";
  EXPECT_TRUE(SectorsReadBack(letter));

  // Quit the tray program through its menu, then close the main window.
  ASSERT_TRUE(QuitTray(prompt, tray));
  EXPECT_FALSE(forms::DriveExists(std::wstring(1, letter) + L":"));
  PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(desk.Exited(15000));

  // The container: its header intact, and the data written through the drive not in plain.
  const std::string file = ReadBytes(path);
  ASSERT_EQ(file.size(), size_t(12) << 20);
  EXPECT_EQ(file.substr(0, 2), "SR");
  std::string plain(1024, '\0');
  for (size_t i = 0; i < plain.size(); ++i) plain[i] = char(i * 7 + 3);
  EXPECT_EQ(file.find(plain), std::string::npos);
  EXPECT_NE(file.substr(1024 + 8 * 512, 1024), std::string(1024, '\0'));
}

// Sectors at the start, the middle and the end of a 10 MiB container's disk, each its own.
struct Mark {
  uint64_t offset;
  std::string bytes;
};
const std::vector<Mark>& Marks() {
  static const std::vector<Mark> marks = [] {
    std::vector<Mark> m{{0, {}}, {4 << 20, {}}, {(10 << 20) - 1024 - 512, {}}};
    for (int k = 0; k < 3; ++k)
      for (int i = 0; i < 512; ++i) m[k].bytes += char(i * (k + 3) + k);
    return m;
  }();
  return marks;
}

// Writes the marks through the drive, or reads them back and compares.
bool Sectors(wchar_t letter, bool write) {
  HANDLE h = OpenDrive(letter);
  if (h == INVALID_HANDLE_VALUE) return false;
  bool ok = true;
  for (const Mark& m : Marks()) {
    if (!ok) break;
    const std::string& bytes = m.bytes;
    OVERLAPPED at{};
    at.Offset = DWORD(m.offset);
    DWORD n = 0;
    std::string in(512, '\0');
    ok = write ? WriteFile(h, bytes.data(), 512, &n, &at) && n == 512
               : ReadFile(h, in.data(), 512, &n, &at) && n == 512 && in == bytes;
  }
  CloseHandle(h);
  return ok;
}

// The text of a message box.
std::wstring BoxText(HWND box) {
  wchar_t text[256] = {};
  GetDlgItemTextW(box, 0xFFFF, text, 256);
  return text;
}

// The password changed through the dialog as a user changes it: the tray program then mounts
// the container with the new password only, and what was written before reads back.
TEST(DeskEndToEnd, PasswordChangedThroughTheDialog) {
  if (!DriverRunning())
    GTEST_SKIP() << "the driver service \"Sorvane\" is not installed or does not start here";
  SavedSettings settings{L"Path", L"TipsOfDay", L"IsProtectFile", L"DriveLetter", L"IsAutoMount"};
  SetSetting(L"TipsOfDay", L"0");
  KeptFile list(forms::AppPath() + L"\\List.ini");
  TempDir dir(L"desk password e2e");
  const std::wstring path = dir / L"pw box.cvd";
  const std::string ansiPath = forms::ToAnsi(path);

  // A container as the create dialog makes it, with data written through a drive of it.
  MakeFile(path, 10 << 20);
  ASSERT_EQ(sorvlib::CVD_InitHeader(ansiPath.c_str()), 0);
  std::string key(32, '\0');
  ASSERT_EQ(sorvlib::GenRandomB64(key.data()), 0);
  key.resize(24);
  SorvCtl ctl;
  ASSERT_TRUE(desk::WriteBlock(path, 1, desk::VerifierOf(ctl, L"old password")));
  ASSERT_TRUE(desk::WriteBlock(path, 2, desk::WrapKey(key, L"old password")));
  wchar_t letter = L'Y';
  while (letter > L'D' && forms::DriveExists(std::wstring(1, letter))) --letter;
  const std::string drive = forms::ToAnsi(std::wstring(1, letter)) + ":";
  const std::string mount = "/mount 0 \"" + ansiPath + "\" " + drive + " " + key.substr(0, 16);
  ASSERT_GE(int16_t(sorvlib::SorvMount(mount.c_str())), 0);
  EXPECT_TRUE(Sectors(letter, true));
  ASSERT_GE(int16_t(sorvlib::SorvMount(("/umount " + drive).c_str())), 0);

  // The management program: the row selected, "修改密码", the three boxes, "修改".
  ASSERT_EQ(ContainerList(list.path).Append(path), ListResult::Done);
  SetSetting(L"Path", path);
  Process desk;
  ASSERT_TRUE(desk.Start(L"SorvDesk.exe"));
  HWND main = Window(desk.pid, nullptr, L"管理Velkiro", 20000);
  ASSERT_NE(main, nullptr);
  HWND listView = Children(main, WC_LISTVIEWW).at(0);
  ASSERT_TRUE(WaitFor([&] { return SendMessageW(listView, LVM_GETITEMCOUNT, 0, 0) == 1; }, 5000));
  ClickFirstRow(listView);
  HWND change = Child(main, L"SorvButton", L"修改密码");
  ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(change) != FALSE; }, 5000));
  Click(change);
  HWND form8 = Window(desk.pid, nullptr, L"修改密码", 10000);
  ASSERT_NE(form8, nullptr);
  const std::vector<HWND> edits = Children(form8, L"Edit");
  ASSERT_EQ(edits.size(), 3u);
  const wchar_t* inputs[] = {L"old password", L"new password 2", L"new password 2"};
  for (int i = 0; i < 3; ++i) SendMessageW(edits[i], WM_SETTEXT, 0, LPARAM(inputs[i]));
  Click(Child(form8, L"Button", L"修改"));
  HWND done = Window(desk.pid, L"#32770", L"修改密码", 30000);
  ASSERT_NE(done, nullptr);
  EXPECT_EQ(BoxText(done), L"密码修改成功！");
  Click(GetDlgItem(done, IDOK));
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(form8); }, 10000));
  PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(desk.Exited(15000));

  // The tray program: the old password refused, the new one mounts the same data.
  Process tray;
  ASSERT_TRUE(tray.Start(L"start.exe"));
  HWND prompt = Window(tray.pid, nullptr, L"Velkiro", 20000);
  ASSERT_NE(prompt, nullptr);
  HWND password = Children(prompt, L"Edit").at(0), ok = Child(prompt, L"Button", L"确定");
  SendMessageW(password, WM_SETTEXT, 0, LPARAM(L"old password"));
  Click(ok);
  HWND refused = Window(tray.pid, L"#32770", L"错误", 15000);
  ASSERT_NE(refused, nullptr);
  EXPECT_EQ(BoxText(refused), L"您输入的密码不对，请重新输入");
  Click(GetDlgItem(refused, IDOK));
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(refused); }, 10000));
  const DWORD drivesBefore = GetLogicalDrives();
  SendMessageW(password, WM_SETTEXT, 0, LPARAM(L"new password 2"));
  Click(ok);
  const wchar_t mounted = NewDrive(drivesBefore);
  ASSERT_NE(mounted, 0) << "the drive did not appear";
  EXPECT_TRUE(Sectors(mounted, false));
  ASSERT_TRUE(QuitTray(prompt, tray));
}

}  // namespace
