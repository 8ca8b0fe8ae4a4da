#pragma once
// Form5: the options: container-file protection, the tray program at logon, and the hot key
// that hides and shows the tray icon. Read from the settings at every load, written back on
// confirmation.
#include <string>

#include "forms.h"

namespace desk {

// The key list's text for a stored HotKeyKey: F1..F12 for 112..123, the character for any
// other code that names one, and F12 for anything else (empty, not a number, no character).
std::wstring KeyTextOf(const std::wstring& stored);
// The code stored for the key box's text: 112..123 for "F1".."F12", else the code of its
// first character (a whole surrogate pair); an empty box stores F12's code.
int KeyCodeOf(const std::wstring& text);

class Form5 : public forms::Form {
 public:
  Form5();

  forms::Frame Frame1, Frame2, Frame3;
  forms::CheckBox Check1, Check2, Check3, Check4, Check5, Check6;
  forms::ComboBox Combo1;
  forms::CommandButton Command1, Command2;

 protected:
  void Design() override;
  void Form_Initialize() override;
  void Form_Load() override;

 private:
  void Check3_Click();
  void EnableHotKeyBoxes(bool on);
  void SaveOptions();
  void FillHotKeyList();
};

}  // namespace desk
