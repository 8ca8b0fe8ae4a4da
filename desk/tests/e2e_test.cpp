// SorvDesk as a user meets it: started as its own process, a container created through the
// create dialog, selected for mounting, mounted by the tray program with the driver, and
// sectors written and read back through the drive. Keeps a picture of the main window.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstddef>
#include <fstream>
#include <map>
#include <vector>

#include "ContainerList.h"
#include "KeyBlocks.h"
#include "MessageBoxes.h"
#include "Pictures.h"
#include "Processes.h"
#include "TrayMenu.h"
#include "Reg.h"
#include "KeptProgramState.h"
#include "SorvLibs.h"
#include "TempDir.h"
#include "forms.h"

namespace {

using testsupport::Click, testsupport::DriverRunning, testsupport::InPicture, testsupport::Picture,
    testsupport::Program, testsupport::QuitThroughTrayMenu, testsupport::ShownBox,
    testsupport::WaitFor, testsupport::WaitForBox;

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

// The window as the X display shows it, read by ImageMagick's import into a 24-bit BMP. (A
// Wine program's screen DC reads Wine's own desktop surface, not the windows drawn on it.)
bool CaptureFromDisplay(RECT r, const std::wstring& bmp) {
  using UnixName = char*(CDECL*)(const wchar_t*);
  auto unixName = reinterpret_cast<UnixName>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name"));
  if (!unixName) return false;
  DeleteFileW(bmp.c_str());
  const std::string file = unixName(bmp.c_str());
  wchar_t system[MAX_PATH];
  GetSystemDirectoryW(system, MAX_PATH);
  // Wine's start.exe by its full path: the program folder holds the tray program's start.exe.
  std::wstring line = L"\"" + std::wstring(system) + L"\\start.exe\" /unix /usr/bin/import " +
                      L"-window root -crop " + std::to_wstring(r.right - r.left) + L"x" +
                      std::to_wstring(r.bottom - r.top) + L"+" + std::to_wstring(r.left) + L"+" +
                      std::to_wstring(r.top) + L" +repage BMP3:" + forms::FromAnsi(file);
  PROCESS_INFORMATION pi{};
  if (!testsupport::StartProcess(line, pi, CREATE_NO_WINDOW)) return false;
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  // import writes the file at its end; it is done when the file holds the whole picture.
  const size_t bytes = 54 + size_t(((r.right - r.left) * 3 + 3) & ~3) * (r.bottom - r.top);
  return WaitFor([&] { return ReadBytes(bmp).size() >= bytes; }, 15000);
}

bool CaptureFromDisplay(HWND hwnd, const std::wstring& bmp) {
  RECT r;
  GetWindowRect(hwnd, &r);
  return CaptureFromDisplay(r, bmp);
}

// Pixels of a rectangle (in the window) that differ from its most common colour.
int InkPixels(const Picture& p, RECT r) {
  std::map<COLORREF, int> counts;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) ++counts[p.At(x, y)];
  int most = 0, total = 0;
  for (auto& [colour, n] : counts) most = std::max(most, n), total += n;
  return total - most;
}

// The pointer moved as a person's mouse moves it: input the system takes for hardware.
void PointerTo(POINT at) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  in.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &in, sizeof in);
}

// Keeps the pointer moving by a pixel around a point while the display is captured, as a
// resting hand does: a tip that sees no move goes away after some seconds.
class Jiggle {
 public:
  explicit Jiggle(POINT at) : at_(at) { thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr); }
  ~Jiggle() {
    stop_ = true;
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
  }

 private:
  static DWORD WINAPI Run(void* self) {
    auto* j = static_cast<Jiggle*>(self);
    for (int i = 0; !j->stop_; ++i, Sleep(150)) PointerTo({j->at_.x + i % 2, j->at_.y});
    return 0;
  }
  POINT at_;
  volatile bool stop_ = false;
  HANDLE thread_;
};

// The text of `owner`'s tool in another process's tooltip window: the request and its buffer
// are placed in that process.
std::wstring RemoteTipText(HWND tip, HWND owner) {
  DWORD pid = 0;
  GetWindowThreadProcessId(tip, &pid);
  HANDLE process =
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (!process) return L"";
  struct Request {
    TTTOOLINFOW tool;
    wchar_t text[256];
  } local{};
  auto* remote = static_cast<BYTE*>(
      VirtualAllocEx(process, nullptr, sizeof local, MEM_COMMIT, PAGE_READWRITE));
  local.tool.cbSize = sizeof local.tool;
  local.tool.hwnd = owner;
  local.tool.lpszText = reinterpret_cast<wchar_t*>(remote + offsetof(Request, text));
  if (remote && WriteProcessMemory(process, remote, &local, sizeof local, nullptr)) {
    SendMessageW(tip, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(remote));
    ReadProcessMemory(process, remote, &local, sizeof local, nullptr);
  }
  if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  local.text[255] = 0;
  return local.text;
}

// The letter of a drive that appears beside those of `before` within 30 s; 0 when none does.
// The letter the tray's mount added, once the mount is done: the letter is defined before the
// key is set and named anew for every session after, so it is there before the drive serves
// data; the prompt hides only when the mount has returned.
wchar_t NewDrive(DWORD before, HWND prompt) {
  wchar_t letter = 0;
  WaitFor(
      [&] {
        const DWORD added = GetLogicalDrives() & ~before;
        for (int i = 0; i < 26 && !letter; ++i)
          if (added & (1u << i)) letter = wchar_t(L'A' + i);
        return letter != 0 && !IsWindowVisible(prompt);
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

TEST(DeskEndToEnd, CreateSelectAndMount) {
  if (!DriverRunning())
    GTEST_SKIP() << "the driver service \"Sorvane\" is not installed or does not start here";
  KeptProgramState kept;
  TempDir dir(L"desk e2e");
  const std::wstring path = dir / L"my box.cvd";

  // Started as a user starts it: the program alone, no arguments.
  Program desk(L"SorvDesk.exe");
  ASSERT_TRUE(desk.Started());
  HWND main = desk.Window(nullptr, L"管理Velkiro", 20000);
  ASSERT_NE(main, nullptr);
  HWND create = Child(main, L"SorvButton", L"创建");
  ASSERT_NE(create, nullptr);
  Click(create);
  HWND form2 = desk.Window(nullptr, L"创建", 10000);
  ASSERT_NE(form2, nullptr);
  const std::vector<HWND> edits = Children(form2, L"Edit");
  ASSERT_EQ(edits.size(), 4u);
  const wchar_t* inputs[] = {path.c_str(), L"12", L"e2e-password", L"e2e-password"};
  for (int i = 0; i < 4; ++i) SendMessageW(edits[i], WM_SETTEXT, 0, LPARAM(inputs[i]));
  Click(Child(form2, L"Button", L"创建"));
  HWND done = desk.Window(L"#32770", L"恭喜，加密盘创建成功！要加载刚刚创建的文件吗？", 30000);
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
      RECT r = InPicture(main, b);
      r = {r.left + 4, (r.top + 2 * r.bottom) / 3, r.right - 4, r.bottom - 4};
      if (r.bottom > p.height || r.right > p.width || InkPixels(p, r) < 15) return false;
    }
    return true;
  };
  // Kept for people to look at, beside the build's other output.
  const std::wstring picture = forms::AppPath() + L"\\..\\desk-main.bmp";
  Picture shot;
  WaitFor(
      [&] {
        shot = CaptureFromDisplay(main, picture) ? Picture::Load(picture) : Picture();
        return captionsDrawn(shot);
      },
      20000);
  ASSERT_GT(shot.width, 0) << "no picture of the display";
  EXPECT_TRUE(captionsDrawn(shot)) << "the buttons' captions are not drawn";
  RECT rows = InPicture(main, listView);
  rows.top += 22;
  rows.bottom = rows.top + 18;
  EXPECT_GT(InkPixels(shot, rows), 50) << "the row is not drawn";

  // Select the row with the mouse, then "加载" and Yes: the tray program starts.
  ClickFirstRow(listView);
  HWND mount = Child(main, L"SorvButton", L"加载");
  ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(mount) != FALSE; }, 5000));
  const DWORD drivesBefore = GetLogicalDrives();
  Click(mount);
  HWND ask = desk.Window(L"#32770", L"加载成功", 10000);
  ASSERT_NE(ask, nullptr);
  Click(GetDlgItem(ask, IDYES));

  HWND prompt = nullptr;
  ASSERT_TRUE(WaitFor(
      [&] {
        prompt = FindWindowW(nullptr, L"Velkiro");
        return prompt && IsWindowVisible(prompt);
      },
      20000));
  Program tray(prompt);
  SendMessageW(Children(prompt, L"Edit").at(0), WM_SETTEXT, 0, LPARAM(L"e2e-password"));
  Click(Child(prompt, L"Button", L"确定"));
  const wchar_t letter = NewDrive(drivesBefore, prompt);
  ASSERT_NE(letter, 0) << "the drive did not appear";
  EXPECT_TRUE(SectorsReadBack(letter));

  // Quit the tray program through its menu, then close the main window.
  ASSERT_TRUE(QuitThroughTrayMenu(tray, prompt));
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

// The pointer resting on "导入" gives it its hot look and a balloon tip with its text, as the
// X display shows them: a picture of both is kept beside the main window's.
TEST(DeskEndToEnd, PointerOverAButtonShowsItsBalloonTip) {
  if (!DriverRunning())
    GTEST_SKIP() << "the driver service \"Sorvane\" is not installed or does not start here";
  KeptProgramState kept;
  struct Away {  // the pointer leaves no window of a later test under it
    ~Away() { PointerTo({0, 0}); }
  } away;
  Program desk(L"SorvDesk.exe");
  ASSERT_TRUE(desk.Started());
  HWND main = desk.Window(nullptr, L"管理Velkiro", 20000);
  ASSERT_NE(main, nullptr);
  SetForegroundWindow(main);
  HWND button = Child(main, L"SorvButton", L"导入");
  ASSERT_NE(button, nullptr);
  RECT b;
  GetWindowRect(button, &b);
  const POINT centre{(b.left + b.right) / 2, (b.top + b.bottom) / 2};

  // Resting: the pointer on the list, below the buttons.
  PointerTo({centre.x, b.bottom + 60});
  const std::wstring resting = forms::AppPath() + L"\\..\\desk-resting.bmp";
  Picture before;
  ASSERT_TRUE(WaitFor(
      [&] {
        before = CaptureFromDisplay(b, resting) ? Picture::Load(resting) : Picture();
        return before.width > 0 &&
               InkPixels(before, {4, 4, before.width - 4, before.height - 4}) > 30;
      },
      20000));
  DeleteFileW(resting.c_str());

  // Onto the button, one more move that its tip sees, then the hand rests: a tip shows only
  // after the pointer has stood still for a moment.
  HWND tip = nullptr;
  for (int tries = 0; tries < 3 && !tip; ++tries) {
    PointerTo(centre);
    Sleep(300);
    PointerTo({centre.x + 1, centre.y});
    WaitFor(
        [&] {
          tip = desk.Window(L"tooltips_class32", nullptr, 0);
          return tip && (GetWindowLongW(tip, GWL_STYLE) & TTS_BALLOON);
        },
        5000);
  }
  ASSERT_NE(tip, nullptr) << "no tooltip shown";
  EXPECT_NE(GetWindowLongW(tip, GWL_STYLE) & TTS_BALLOON, 0);
  EXPECT_EQ(RemoteTipText(tip, button), L"把加密盘文件导入到列表");

  // Window and tip together, in one picture.
  RECT window, t, both;
  GetWindowRect(main, &window);
  GetWindowRect(tip, &t);
  UnionRect(&both, &window, &t);
  const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  IntersectRect(&both, &both, &screen);
  const auto in = [&](RECT r) {
    OffsetRect(&r, -both.left, -both.top);
    return r;
  };
  const RECT tipRect = in(t), buttonRect = in(b);
  const COLORREF tipBack = GetSysColor(COLOR_INFOBK);
  // The tip's face: mostly the system's tip colour, with its text drawn on it.
  auto tipShown = [&](const Picture& p) {
    int back = 0;
    for (int y = tipRect.top; y < tipRect.bottom; ++y)
      for (int x = tipRect.left; x < tipRect.right; ++x) back += p.At(x, y) == tipBack;
    const int tipArea = (tipRect.right - tipRect.left) * (tipRect.bottom - tipRect.top);
    return back * 2 > tipArea && InkPixels(p, tipRect) > 40;
  };
  // The hot look: the button's outline changes colour (where the tip leaves it in view).
  auto hot = [&](const Picture& p) {
    int ring = 0, differ = 0;
    for (int y = 0; y < before.height; ++y)
      for (int x = 0; x < before.width; ++x) {
        const POINT at{buttonRect.left + x, buttonRect.top + y};
        const bool edge = x == 0 || y == 0 || x == before.width - 1 || y == before.height - 1;
        if (!edge || PtInRect(&tipRect, at)) continue;
        ++ring;
        differ += p.At(at.x, at.y) != before.At(x, y);
      }
    return ring > 0 && differ * 2 > ring;
  };
  const std::wstring picture = forms::AppPath() + L"\\..\\desk-hover.bmp";
  Picture shot;
  {
    Jiggle hand(centre);
    WaitFor(
        [&] {
          shot = CaptureFromDisplay(both, picture) ? Picture::Load(picture) : Picture();
          return shot.width > 0 && tipShown(shot) && hot(shot);
        },
        20000);
  }
  ASSERT_GT(shot.width, 0) << "no picture of the display";
  EXPECT_TRUE(tipShown(shot)) << "the balloon tip is not in the picture";
  EXPECT_TRUE(hot(shot)) << "the button does not show its hot look";
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(desk.Exited(15000));
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

// The password changed through the dialog as a user changes it: the tray program then mounts
// the container with the new password only, and what was written before reads back.
TEST(DeskEndToEnd, PasswordChangedThroughTheDialog) {
  if (!DriverRunning())
    GTEST_SKIP() << "the driver service \"Sorvane\" is not installed or does not start here";
  KeptProgramState kept;
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
  ASSERT_EQ(ContainerList(kept.list.path).Append(path), ListResult::Done);
  SetSetting(L"Path", path);
  Program desk(L"SorvDesk.exe");
  ASSERT_TRUE(desk.Started());
  HWND main = desk.Window(nullptr, L"管理Velkiro", 20000);
  ASSERT_NE(main, nullptr);
  HWND listView = Children(main, WC_LISTVIEWW).at(0);
  ASSERT_TRUE(WaitFor([&] { return SendMessageW(listView, LVM_GETITEMCOUNT, 0, 0) == 1; }, 5000));
  ClickFirstRow(listView);
  HWND change = Child(main, L"SorvButton", L"修改密码");
  ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(change) != FALSE; }, 5000));
  Click(change);
  HWND form8 = desk.Window(nullptr, L"修改密码", 10000);
  ASSERT_NE(form8, nullptr);
  const std::vector<HWND> edits = Children(form8, L"Edit");
  ASSERT_EQ(edits.size(), 3u);
  const wchar_t* inputs[] = {L"old password", L"new password 2", L"new password 2"};
  for (int i = 0; i < 3; ++i) SendMessageW(edits[i], WM_SETTEXT, 0, LPARAM(inputs[i]));
  Click(Child(form8, L"Button", L"修改"));
  ShownBox done = WaitForBox(desk.info.dwProcessId, L"修改密码", 30000);
  ASSERT_TRUE(done);
  EXPECT_EQ(done.text, L"密码修改成功！");
  done.Answer(IDOK);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(form8); }, 10000));
  PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(desk.Exited(15000));

  // The tray program: the old password refused, the new one mounts the same data.
  Program tray(L"start.exe");
  ASSERT_TRUE(tray.Started());
  HWND prompt = tray.Window(nullptr, L"Velkiro", 20000);
  ASSERT_NE(prompt, nullptr);
  HWND password = Children(prompt, L"Edit").at(0), ok = Child(prompt, L"Button", L"确定");
  SendMessageW(password, WM_SETTEXT, 0, LPARAM(L"old password"));
  Click(ok);
  ShownBox refused = WaitForBox(tray.info.dwProcessId, L"错误", 15000);
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused.text, L"您输入的密码不对，请重新输入");
  refused.Answer(IDOK);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(refused.hwnd); }, 10000));
  const DWORD drivesBefore = GetLogicalDrives();
  SendMessageW(password, WM_SETTEXT, 0, LPARAM(L"new password 2"));
  Click(ok);
  const wchar_t mounted = NewDrive(drivesBefore, prompt);
  ASSERT_NE(mounted, 0) << "the drive did not appear";
  EXPECT_TRUE(Sectors(mounted, false));
  ASSERT_TRUE(QuitThroughTrayMenu(tray, prompt));
}

}  // namespace
