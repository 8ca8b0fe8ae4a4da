#pragma once
// The password of a container that is about to be overwritten.
#include "forms.h"

namespace wizard {

struct Wizard;

class Form6 : public forms::Form {
 public:
  explicit Form6(Wizard& wizard);

  forms::Label Label1;
  forms::TextBox Text1;
  forms::CommandButton Command1;

 protected:
  void Design() override;
  void Form_Initialize() override;
  void Form_Load() override;
  void Form_Unload(bool& cancel) override;

 private:
  void Command1_Click();

  Wizard& wizard_;
};

}  // namespace wizard
