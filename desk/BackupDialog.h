#pragma once
// BackupForm: copies the selected container file to a new file, or moves it there and takes
// it off the list.
#include <functional>

#include "SelectedContainer.h"
#include "SorvCtl.h"
#include "forms.h"

namespace desk {

class BackupForm : public forms::Form {
 public:
  // rows: the main window's list, whose selected row is the container; rowRemoved runs after
  // a move took the row off.
  BackupForm(forms::ListView& rows, std::function<void()> rowRemoved);

  forms::Frame Frame1;
  forms::Label Label1, Label2;
  forms::TextBox Text1, Text2;
  forms::CheckBox Check1;
  forms::CommandButton Command1, Command2, Command3;
  forms::Image Image1;
  SorvCtl Sorvane1;

 protected:
  void Design() override;
  void Form_Initialize() override;
  void Form_Load() override;

 private:
  void Browse();
  void BackupContainer();

  forms::ListView& rows_;
  std::function<void()> rowRemoved_;
};

}  // namespace desk
