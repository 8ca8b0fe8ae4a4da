#pragma once
// Form8: gives the selected container a new password. The disk key stays; only its wrapping
// (block 2) and the password verifier (block 1) are made anew.
#include "SelectedContainer.h"
#include "SorvCtl.h"
#include "forms.h"

namespace desk {

class Form8 : public forms::Form {
 public:
  // rows: the main window's list, whose selected row is the container.
  explicit Form8(const forms::ListView& rows);

  forms::Frame Frame1;
  forms::Label Label1, Label2, Label3, Label4;
  forms::TextBox Text1, Text2, Text3;
  forms::CommandButton Command1, Command2;
  forms::Image Image1;
  SorvCtl Sorvane1;

 protected:
  void Design() override;
  void Form_Initialize() override;
  void Form_Load() override;
  void Form_Unload(bool& cancel) override;

 private:
  void ChangePassword();
  // Writes both blocks and reads them back; on any failure puts the old blocks back.
  bool StoreBlocks(const std::wstring& path, const std::wstring& newPassword,
                   const std::string& oldVerifier, const std::string& oldWrapped,
                   const std::string& key);

  const forms::ListView& rows_;
};

}  // namespace desk
