#pragma once
// The prompt's OK button: store the choices, check the container and the password, mount.
#include <string>

class SorvCtl;
namespace forms {
class Form;
class Menu;
}  // namespace forms

namespace tray {

struct MountChoice {
  std::wstring driveText;  // the drive list's text: "X:" or the automatic entry
  std::wstring lastEntry;  // the drive list's last entry (the highest free letter)
  bool autostart = false;  // the box "开机自动加载"
  std::wstring password;   // as typed, used whole
};

// Stores the drive choice and the autostart setting, then checks and mounts. Every refusal
// is shown in a message box and gives false; on success MountedDrive is "X:".
bool MountContainer(const MountChoice& choice, SorvCtl& verifier);

// After the mount: the hidden window with its tray icon, window procedure, menu, tip and hot
// key; then the SendTo shortcut is written. MountedDrive becomes "X:\".
void EnterTray(forms::Form& form, forms::Menu& menu);

}  // namespace tray
