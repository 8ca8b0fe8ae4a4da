// A logon start is registered only for the installed program: the one that runs from the
// folder setup recorded.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "Autostart.h"
#include "Reg.h"
#include "SavedSettings.h"
#include "TempDir.h"
#include "forms.h"

namespace {

std::wstring Upper(std::wstring text) {
  std::transform(text.begin(), text.end(), text.begin(), towupper);
  return text;
}

TEST(Autostart, OnlyFromTheInstalledFolder) {
  SavedSettings settings{InstallFolderValue};
  TempDir copy(L"autostart_copy");
  const std::wstring here = forms::AppPath();
  const struct {
    const wchar_t* why;
    std::wstring recorded;  // "": none
    AutostartResult result;
  } rows[] = {
      {L"this folder", here, AutostartResult::Done},
      {L"the same folder spelled otherwise", Upper(here), AutostartResult::Done},
      {L"setup never ran", L"", AutostartResult::NotInstalled},
      {L"installed elsewhere", copy.path(), AutostartResult::NotInstalled},
      {L"installed in the folder above", here.substr(0, here.rfind(L'\\')),
       AutostartResult::NotInstalled},
      {L"a folder that is gone", here + L"\\gone", AutostartResult::NotInstalled},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(forms::ToAnsi(row.why));
    std::vector<std::pair<std::wstring, std::wstring>> tasks;
    LogonTaskSink old = SetLogonTaskSink([&](const std::wstring& name, const std::wstring& xml) {
      tasks.push_back({name, xml});
      return true;
    });
    row.recorded.empty() ? DeleteRegValue(HKEY_LOCAL_MACHINE, SettingsKey, InstallFolderValue)
                         : SetSetting(InstallFolderValue, row.recorded);
    EXPECT_EQ(SetAutostart(AutostartRunKey, SRStartValue, true, L"start.exe"), row.result);
    // The installed program, quoted, as setup recorded its folder.
    const bool set = row.result == AutostartResult::Done;
    const std::wstring start = L"\"" + row.recorded + L"\\start.exe\"";
    EXPECT_EQ(GetRegValue(HKEY_CURRENT_USER, AutostartRunKey, SRStartValue), set ? start : L"");
    ASSERT_EQ(tasks.size(), set ? 1u : 0u);
    if (set) {
      EXPECT_NE(tasks[0].second.find(L"<Command>" + start + L"</Command>"), std::wstring::npos);
    }
    // Taking it away works from anywhere.
    EXPECT_EQ(SetAutostart(AutostartRunKey, SRStartValue, false, L"start.exe"),
              AutostartResult::Done);
    EXPECT_EQ(GetRegValue(HKEY_CURRENT_USER, AutostartRunKey, SRStartValue), L"");
    EXPECT_EQ(tasks.back(), (std::pair{LogonTaskName(SRStartValue), std::wstring()}));
    SetLogonTaskSink(old);
  }
}

}  // namespace
