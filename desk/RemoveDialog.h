#pragma once
// Form3: takes the selected container off the list, with or without deleting its file.
#include <functional>

#include "SelectedContainer.h"
#include "SorvCtl.h"
#include "forms.h"

namespace desk {

class Form3 : public forms::Form {
 public:
  // rows: the main window's list, whose selected row is removed; rowRemoved runs after a row
  // went (the main window switches its buttons off when the list is empty).
  Form3(forms::ListView& rows, std::function<void()> rowRemoved);

  forms::Frame Frame1, Frame2;
  forms::Label Label1, Label2, Label3, Label4;
  forms::TextBox Text1, Text2;
  forms::CommandButton Command1, Command2, Command3;
  forms::Image Image1;
  SorvCtl Sorvane1;

 protected:
  void Design() override;
  void Form_Initialize() override;
  void Form_Load() override;

 private:
  void RemoveContainer();
  void RemoveContainerRecord();
  bool AskDropMissing(UINT defaultButton);
  // True (after telling the user) when another program or the driver holds the file.
  bool Held();
  // True when the file, not held, is no whole container or its password block cannot be read.
  bool Damaged();
  bool AskDropDamaged(UINT defaultButton);
  // The password's check against block 1; false after telling the user why not.
  bool PasswordMatches(const std::string& typed, UINT unreadableIcon,
                       const wchar_t* unreadableTitle);
  void DropRow(bool missingFile);

  forms::ListView& rows_;
  std::function<void()> rowRemoved_;
  SelectedContainer selected_;
};

}  // namespace desk
