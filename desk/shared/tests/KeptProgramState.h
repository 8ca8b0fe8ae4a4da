#pragma once
// What a run of the real programs changes of the state they share (the settings they write
// and the container list beside them) is kept and put back afterwards; no tip dialog meanwhile.
#include "SavedSettings.h"
#include "TempDir.h"
#include "forms.h"

struct KeptProgramState {
  SavedSettings settings{L"Path", L"TipsOfDay", L"IsProtectFile", L"DriveLetter", L"IsAutoMount"};
  KeptFile list{forms::AppPath() + L"\\List.ini"};
  KeptProgramState() { SetSetting(L"TipsOfDay", L"0"); }
};
