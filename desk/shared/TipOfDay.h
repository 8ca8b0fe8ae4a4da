#pragma once
// The tip-of-the-day dialog: one tip of tips.dat at a time, the next one at every opening.
// Where it stands in the file lives in the setting LastTipsLine.
#include <string>

#include "forms.h"

class TipOfDay : public forms::Form {
 public:
  // Desk: centred on the screen. Tray: two thirds across, three quarters down.
  enum class Placement { Desk, Tray };

  // closeClears: a flag the close button clears (the management program's show-once flag);
  // null where the close button only closes.
  explicit TipOfDay(Placement placement, bool* closeClears = nullptr);

  forms::Frame Frame1;
  forms::Image Image1;
  forms::Label Label1, Label2, Line1;
  forms::CheckBox Check1;
  forms::CommandButton Command1, Command2;

  // The tips file; the program folder's tips.dat unless set before loading.
  std::wstring TipsFile;

 protected:
  void Design() override;
  void Form_Initialize() override;
  void Form_Load() override;
  void Form_Unload(bool& cancel) override;

 private:
  void Command1_Click();
  void Command2_Click();
  void ShowTip(int number);

  Placement placement_;
  bool* closeClears_;
};
