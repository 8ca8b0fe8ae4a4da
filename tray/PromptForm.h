#pragma once
// Form1: the password prompt; once the drive is mounted, the hidden owner of the tray icon.
#include "AboutForm.h"
#include "NoContainerForm.h"
#include "SorvCtl.h"
#include "forms.h"

namespace tray {

class Form1 : public forms::Form {
 public:
  Form1();

  forms::Label Label1, Label2, Label3, Label4, Label5, Label6, Label7;
  forms::TextBox Text1;
  forms::ComboBox Combo1;
  forms::CommandButton Command1, Command2;
  forms::CheckBox Check1;
  forms::Image Image1;
  SorvCtl Sorvane1;
  forms::Menu mnuTray, popHomePage, popBar0, popOpenDrive, popBar1, popOpenSorvDesk, popHelp,
      popAbout, popBar2, popTrayClose;

  // The About box and the no-container window.
  Form3 about;
  Form4 noContainer;

  // "退出" in the tray menu: ask, unmount, end.
  void IsQuit();

  void Command1_Click();
  void Command2_Click();

 protected:
  void Design() override;
  void Form_Initialize() override;
  void Form_Load() override;
  void Form_Activate() override;
  void Form_Unload(bool& cancel) override;

 private:
  void popHomePage_Click();
  void popOpenDrive_Click();
  void popOpenSorvDesk_Click();
  void popHelp_Click();
  void popAbout_Click();
  void popTrayClose_Click();

  bool FirstActivate = false;
};

}  // namespace tray
