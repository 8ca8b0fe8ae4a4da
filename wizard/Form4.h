#pragma once
// Step 4 of the wizard: the end, and the hand-over to the tray program.
#include "forms.h"

namespace wizard {

struct Wizard;

class Form4 : public forms::Form {
 public:
  explicit Form4(Wizard& wizard);

  forms::Label Label1, Label2, Label3, Label4, Label5, Label6;
  forms::CommandButton Command1;

  static constexpr wchar_t WebAddress[] = L"http://www.velkiro.example/";
  static constexpr wchar_t MailAddress[] = L"support@velkiro.example";

 protected:
  void Design() override;
  void Form_Initialize() override;
  void Form_Load() override;
  void Form_QueryUnload(bool& cancel, forms::UnloadMode mode) override;

 private:
  void Command1_Click();

  Wizard& wizard_;
};

}  // namespace wizard
