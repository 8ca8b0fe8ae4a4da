#pragma once
// The About box, opened from the tray menu.
#include "forms.h"

namespace tray {

class Form3 : public forms::Form {
 public:
  Form3();
  forms::Frame Frame1, Frame2;
  forms::Image Image1;
  forms::Label Label1, Label2, Label3, Label4, Label5;
  forms::CommandButton Command1;

 protected:
  void Design() override;
  void Form_Initialize() override;
  void Form_Load() override;
};

}  // namespace tray
