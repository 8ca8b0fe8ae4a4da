#pragma once
// Shown at start-up when no container is current: open the management program, open the
// wizard, or quit. Each button ends the tray program.
#include <string>

#include "forms.h"

namespace tray {

class Form4 : public forms::Form {
 public:
  Form4();
  forms::Label Label1;
  forms::CommandButton Command1, Command2, Command3;

 protected:
  void Design() override;
  void Form_Initialize() override;
  void Form_Load() override;

 private:
  // Unloads every window (the prompt's unload gives the instance semaphore back), then
  // starts `program` from the program folder when one is named; the program ends.
  void EndWith(const std::wstring& program);
};

// Unloads every loaded window of the program but `keep`.
void UnloadOtherForms(const forms::Form* keep);

}  // namespace tray
