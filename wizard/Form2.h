#pragma once
// Step 2 of the wizard: the password of the new container, typed twice.
#include "forms.h"

namespace wizard {

struct Wizard;

class Form2 : public forms::Form {
 public:
  explicit Form2(Wizard& wizard);

  forms::Label Label1, Label2, Label3, Label4, Label5, Label6, Label7, Label8;
  forms::TextBox Text1, Text2;
  forms::CommandButton Command1, Command2;

 protected:
  void Design() override;
  void Form_Initialize() override;
  void Form_Load() override;
  void Form_QueryUnload(bool& cancel, forms::UnloadMode mode) override;
  void Form_Unload(bool& cancel) override;

 private:
  void Command1_Click();

  Wizard& wizard_;
};

}  // namespace wizard
