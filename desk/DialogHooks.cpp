// The main window's dialogs, each made afresh for one showing.
#include "DialogHooks.h"

#include "AboutDialog.h"
#include "BackupDialog.h"
#include "MainForm.h"
#include "OptionsDialog.h"
#include "PasswordDialog.h"
#include "RemoveDialog.h"

namespace desk {

void ShowRemoveDialog(Form1& main) {
  Form3 dialog(main.ListView1, [&main] { main.UpdateButtonsForEmptyList(); });
  dialog.ShowModal(main);
}

void ShowChangePasswordDialog(Form1& main) {
  Form8 dialog(main.ListView1);
  dialog.ShowModal(main);
}

void ShowBackupDialog(Form1& main, bool owned) {
  BackupForm dialog(main.ListView1, [&main] { main.UpdateButtonsForEmptyList(); });
  dialog.ShowModal(owned ? main.hWnd() : nullptr);
}

void ShowOptionsDialog(Form1& main) {
  Form5 dialog;
  dialog.ShowModal(main);
}

void ShowAboutDialog(Form1& main) {
  Form6 dialog;
  dialog.ShowModal(main);
}

bool ProtectFileChecked() {
  // The box as the options dialog's load fills it, read without showing the dialog.
  Form5 options;
  options.Load();
  const bool checked = options.Check1.Value() == 1;
  options.Unload();
  return checked;
}

}  // namespace desk
