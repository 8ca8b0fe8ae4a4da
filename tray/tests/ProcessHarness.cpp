#include "ProcessHarness.h"

#include <cstdio>

ProcessHarness::~ProcessHarness() {
  if (info_.hProcess) {
    if (Running()) TerminateProcess(info_.hProcess, 1);
    CloseHandle(info_.hProcess);
    CloseHandle(info_.hThread);
  }
}

bool ProcessHarness::Start(const std::wstring& exe) {
  std::wstring line = L"\"" + exe + L"\"";
  STARTUPINFOW si{sizeof si};
  return CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &si, &info_) != 0;
}

bool ProcessHarness::Running() const {
  return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

bool ProcessHarness::WaitExit(DWORD ms) {
  return info_.hProcess && WaitForSingleObject(info_.hProcess, ms) == WAIT_OBJECT_0;
}

namespace {

std::wstring TextOf(HWND hwnd) {
  wchar_t buffer[1024] = {};
  GetWindowTextW(hwnd, buffer, 1024);
  return buffer;
}

std::wstring ClassOf(HWND hwnd) {
  wchar_t buffer[256] = {};
  GetClassNameW(hwnd, buffer, 256);
  return buffer;
}

struct Search {
  DWORD pid;
  const std::wstring* windowClass;
  const std::wstring* caption;
  HWND found;
};

}  // namespace

HWND ProcessHarness::FindWindowOf(const std::wstring& windowClass,
                                  const std::wstring& caption) const {
  Search s{Pid(), &windowClass, &caption, nullptr};
  EnumWindows(
      [](HWND hwnd, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        if (pid != s->pid || !IsWindowVisible(hwnd)) return TRUE;
        if (!s->windowClass->empty() && ClassOf(hwnd) != *s->windowClass) return TRUE;
        if (!s->caption->empty() && TextOf(hwnd) != *s->caption) return TRUE;
        s->found = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&s));
  return s.found;
}

HWND ProcessHarness::WaitWindow(const std::wstring& windowClass, const std::wstring& caption,
                                DWORD ms) const {
  HWND found = nullptr;
  WaitFor([&] { return (found = FindWindowOf(windowClass, caption)) != nullptr; }, ms);
  return found;
}

std::vector<std::wstring> ProcessHarness::ChildTexts(HWND parent) {
  std::vector<std::wstring> texts;
  EnumChildWindows(
      parent,
      [](HWND hwnd, LPARAM lp) -> BOOL {
        reinterpret_cast<std::vector<std::wstring>*>(lp)->push_back(TextOf(hwnd));
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&texts));
  return texts;
}

HWND ProcessHarness::Child(HWND parent, const std::wstring& windowClass,
                           const std::wstring& text) {
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    if (_wcsicmp(ClassOf(c).c_str(), windowClass.c_str()) == 0 && TextOf(c) == text) return c;
  return nullptr;
}

void ProcessHarness::Click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

bool WaitFor(const std::function<bool()>& done, DWORD ms) {
  for (DWORD waited = 0;; waited += 100) {
    if (done()) return true;
    if (waited >= ms) return false;
    Sleep(100);
  }
}

bool SaveWindowBitmap(HWND hwnd, const std::wstring& file) {
  RECT r;
  if (!GetWindowRect(hwnd, &r)) return false;
  const int w = r.right - r.left, h = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB};
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bmp);
  BitBlt(dc, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  const DWORD stride = (w * 3 + 3) & ~3, size = stride * h;
  BITMAPFILEHEADER fh{0x4D42, DWORD(sizeof fh + sizeof bi.bmiHeader + size), 0, 0,
                      DWORD(sizeof fh + sizeof bi.bmiHeader)};
  bool ok = false;
  if (FILE* f = _wfopen(file.c_str(), L"wb")) {
    ok = fwrite(&fh, sizeof fh, 1, f) == 1 && fwrite(&bi.bmiHeader, sizeof bi.bmiHeader, 1, f) == 1 &&
         fwrite(bits, size, 1, f) == 1;
    ok = fclose(f) == 0 && ok;
  }
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return ok;
}
