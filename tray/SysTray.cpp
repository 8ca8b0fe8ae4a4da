#include "SysTray.h"

#include <cstring>

#include "TrayState.h"
#include "forms.h"

namespace tray {
namespace {

NotifyIconSink& Sink() {
  static NotifyIconSink sink;
  return sink;
}

MessageFilterSink& FilterSink() {
  static MessageFilterSink sink;
  return sink;
}

// The record in its version-2 form (tip, balloon and state, no GUID): 488 bytes on 32-bit
// Windows, wider pointers on 64-bit.
constexpr DWORD kRecordSize = NOTIFYICONDATAA_V2_SIZE;

// ANSI text into a fixed field, cut to the field without splitting a double-byte character.
template <size_t N>
void Put(char (&field)[N], const std::wstring& text) {
  std::string ansi = forms::ToAnsi(text);
  size_t n = 0;
  while (n < ansi.size()) {
    size_t step = IsDBCSLeadByte(static_cast<BYTE>(ansi[n])) && n + 1 < ansi.size() ? 2 : 1;
    if (n + step > N - 1) break;
    n += step;
  }
  std::memset(field, 0, N);
  std::memcpy(field, ansi.data(), n);
}

NOTIFYICONDATAA BaseRecord(HWND hwnd) {
  NOTIFYICONDATAA data{};
  data.cbSize = kRecordSize;
  data.hWnd = hwnd;
  data.uID = 0;
  data.hIcon = FormIcon(hwnd);
  return data;
}

}  // namespace

NotifyIconSink SetNotifyIconSink(NotifyIconSink sink) {
  NotifyIconSink previous = Sink();
  Sink() = std::move(sink);
  return previous;
}

BOOL NotifyIcon(DWORD message, NOTIFYICONDATAA& data) {
  if (Sink()) return Sink()(message, data);
  return Shell_NotifyIconA(message, &data);
}

MessageFilterSink SetMessageFilterSink(MessageFilterSink sink) {
  MessageFilterSink previous = FilterSink();
  FilterSink() = std::move(sink);
  return previous;
}

void AllowTaskbarCreated(HWND hwnd, UINT message) {
  if (FilterSink())
    FilterSink()(hwnd, message, MSGFLT_ALLOW);
  else
    ChangeWindowMessageFilterEx(hwnd, message, MSGFLT_ALLOW, nullptr);
}

HICON FormIcon(HWND hwnd) {
  return reinterpret_cast<HICON>(SendMessageW(hwnd, WM_GETICON, ICON_SMALL, 0));
}

NOTIFYICONDATAA PlainRecord(HWND hwnd) {
  NOTIFYICONDATAA data = BaseRecord(hwnd);
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = TrayCallbackMessage;
  Put(data.szTip, L"Velkiro");
  return data;
}

NOTIFYICONDATAA BalloonRecord(HWND hwnd, const std::wstring& drive) {
  NOTIFYICONDATAA data = PlainRecord(hwnd);
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_STATE | NIF_INFO;
  data.dwState = 0;
  data.dwStateMask = 0;
  Put(data.szInfo, L"加密盘已启动，盘符为 " + drive);
  data.uTimeout = 10000;
  Put(data.szInfoTitle, L"Velkiro");
  data.dwInfoFlags = NIIF_INFO;
  return data;
}

void AttachTrayMenu(forms::Form& form, forms::Menu& menu) {
  TrayForm = &form;
  TrayMenu = &menu;
  TrayTipData = BaseRecord(form.hWnd());
}

void SetTrayTip(const std::wstring& text) {
  Put(TrayTipData.szTip, text);
  TrayTipData.uFlags = NIF_TIP;
  NotifyIcon(NIM_MODIFY, TrayTipData);
}

void RecreateTrayIcon(forms::Form& form) {
  NOTIFYICONDATAA old = PlainRecord(form.hWnd());
  NotifyIcon(NIM_DELETE, old);
  NOTIFYICONDATAA data = BalloonRecord(form.hWnd(), MountedDrive);
  form.Hide();
  NotifyIcon(NIM_ADD, data);
  SetTrayTip(DriveTip());
}

std::wstring DriveTip() { return L"加密盘盘符为 " + MountedDrive; }

}  // namespace tray
