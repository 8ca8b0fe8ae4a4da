#pragma once
// Step 3 of the wizard: makes the container, lists it, and has it formatted once mounted.
#include <string>

#include "ContainerMaking.h"
#include "SorvCtl.h"
#include "forms.h"

namespace wizard {

struct Wizard;

class Form3 : public forms::Form {
 public:
  explicit Form3(Wizard& wizard);

  forms::Label Label1, Label2;
  forms::ProgressBar ProgressBar1;
  SorvCtl Sorvane1;

 protected:
  void Design() override;
  void Form_Initialize() override;
  void Form_Load() override;
  void Form_QueryUnload(bool& cancel, forms::UnloadMode mode) override;

 private:
  // The whole creation; false when it stopped with a message and the program must end.
  bool CreateContainer();
  // The file at path, its header and both data blocks; false when it stopped with a message.
  bool MakeContainer(const std::wstring& path, const std::wstring& password,
                     making::DiskKeys& keys);

  Wizard& wizard_;
  bool running_ = false;
};

}  // namespace wizard
