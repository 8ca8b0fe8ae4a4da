#include "PublicFunc.h"

#include "CutAtNul.h"
#include "Reg.h"
#include "SorvLibs.h"

std::wstring RandomChar() {
  char buffer[32] = {};
  sorvlib::GenRandomB64(buffer);
  std::wstring key = forms::FromAnsi(CutAtNul(std::string(buffer, sizeof buffer)));
  key.resize(32, L'\0');
  return key;
}

bool IsSpaceChar(const std::wstring& text) { return text.find(L' ') != std::wstring::npos; }

int32_t GetDriveFreeMB(const std::wstring& drive) {
  forms::Drive d = forms::GetDrive(drive);
  if (d.DriveLetter == 0 || !d.IsReady) return -1;
  // Hundredths of a MiB first (the two decimals shown), then to whole MiB, halves to even.
  const uint64_t unit = 1u << 20;
  uint64_t hundredths = (d.FreeSpace * 100 + unit / 2) / unit;
  uint64_t mib = hundredths / 100, rest = hundredths % 100;
  if (rest > 50 || (rest == 50 && (mib & 1))) ++mib;
  return mib > INT32_MAX ? INT32_MAX : int32_t(mib);
}

void MarkCurrentContainer(forms::ListView& list) {
  const std::wstring current = CutAtNul(GetSetting(L"Path"));
  for (int row = 1; row <= list.Count(); ++row) {
    list.SmallIcon(row, 1);
    if (!current.empty() && list.SubItem(row, 2) + list.SubItem(row, 1) == current)
      list.SmallIcon(row, 2);
  }
}
