// Until the dialogs' own forms are written, their commands open nothing.
#include "DialogHooks.h"

#include "CutAtNul.h"
#include "Reg.h"

namespace desk {

void ShowRemoveDialog(Form1&) {}
void ShowChangePasswordDialog(Form1&) {}
void ShowBackupDialog(Form1&, bool) {}
void ShowOptionsDialog(Form1&) {}
void ShowAboutDialog(Form1&) {}

bool ProtectFileChecked() { return CutAtNul(GetSetting(L"IsProtectFile")) == L"1"; }

}  // namespace desk
