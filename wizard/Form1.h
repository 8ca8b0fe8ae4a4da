#pragma once
// Step 1 of the wizard: the drive and the size of the new container.
#include <cstdint>
#include <string>
#include <vector>

#include "OldContainer.h"
#include "SorvCtl.h"
#include "forms.h"

namespace wizard {

struct Wizard;

class Form1 : public forms::Form {
 public:
  explicit Form1(Wizard& wizard);

  forms::Label Label4, Label1, Label2, Label3, Label5;
  forms::Frame Frame2, Frame3;
  forms::ListView ListView1;
  forms::Slider Slider1;
  forms::TextBox Text1;
  forms::SpinButton SpinButton1;
  forms::CommandButton Command2, Command1, Command4, Command3;
  SorvCtl Sorvane1;

  // The password typed into the overwrite dialog.
  std::wstring MyText;
  // The container path "下一步" worked out; step 3 makes the container there and only then
  // stores it as Path.
  std::wstring ContainerPath;
  // The file at ContainerPath whose password the user gave to overwrite it; step 3 puts the
  // new container in its place once the new one is whole.
  FileIdentity Overwrite;

  // Free space of the selected row in whole MiB (0 when no row is selected).
  std::int64_t sSelectItemFreeSpace() const;
  std::wstring Frame3_Value() const;
  std::wstring GetCvdFileInfo();

 protected:
  void Design() override;
  void Form_Initialize() override;
  void Form_Load() override;
  void Form_Paint() override;

 private:
  const forms::Drive* Selected() const;
  void ShowSelection();
  void Text1_KeyPress(int& keyAscii);
  void Text1_Change();
  void Spin(int step);
  void Command2_Click();
  void Command1_Click();
  void Command4_Click();
  // Asks and takes the old password; true when the file at path may be overwritten.
  bool OverwriteCheck(const std::wstring& path);

  Wizard& wizard_;
  std::vector<forms::Drive> rows_;  // the listed drives, row i + 1 of the list
  std::wstring lastSize_;           // the size box's last accepted text
};

}  // namespace wizard
