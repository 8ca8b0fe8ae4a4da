#pragma once
// The main window's dialogs that live in their own forms: remove (Form3), change password
// (Form8), backup (BackupForm), options (Form5) and About (Form6). The main window calls only
// these functions; each shows its dialog as the main window's commands require.
namespace desk {

class Form1;

// Form3, modal, owned by the main window.
void ShowRemoveDialog(Form1& main);
// Form8, modal, owned.
void ShowChangePasswordDialog(Form1& main);
// BackupForm: modal from the button (owned = false), modal and owned from the menus.
void ShowBackupDialog(Form1& main, bool owned);
// Form5, modal, owned.
void ShowOptionsDialog(Form1& main);
// Form6, modal, owned.
void ShowAboutDialog(Form1& main);
// The options dialog's protection box (Form5.Check1) as its load fills it from the settings:
// true when the current container is to be guarded when the main window closes.
bool ProtectFileChecked();

}  // namespace desk
