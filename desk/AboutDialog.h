#pragma once
// Form6: the About box: the product, what it is, its version.
#include "forms.h"

namespace desk {

class Form6 : public forms::Form {
 public:
  Form6();

  forms::Frame Frame1, Frame2;
  forms::Image Image1;
  forms::Label Label1, Label2, Label4;
  forms::CommandButton Command1;

 protected:
  void Design() override;
  void Form_Initialize() override;
  void Form_Load() override;
};

}  // namespace desk
