#pragma once
// Form7: the progress window shown while a container file is made. Loaded at its first
// showing, then only shown and hidden.
#include "ContainerMaking.h"
#include "forms.h"

namespace desk {

class Form7 : public forms::Form, public making::Progress {
 public:
  Form7();

  forms::ProgressBar ProgressBar1;
  forms::Label Label1;

  // making::Progress: shown modeless, the bar and the label set, hidden again.
  void Begin() override;
  void Percent(int percent) override;
  void End() override;

 protected:
  void Design() override;
  void Form_Initialize() override;
  void Form_Load() override;
};

}  // namespace desk
