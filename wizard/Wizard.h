#pragma once
// The wizard's windows and what they share for the whole run.
#include <windows.h>

#include <string>

#include "Form1.h"
#include "Form2.h"
#include "Form3.h"
#include "Form4.h"
#include "Form6.h"
#include "ProgramFile.h"

namespace wizard {

struct Wizard {
  Wizard();
  Wizard(const Wizard&) = delete;
  Wizard& operator=(const Wizard&) = delete;

  // Ends the program: the instance semaphore is given back and every window unloaded (the
  // message loop then returns). `keep` is a window that is unloading itself already.
  void End(forms::Form* keep = nullptr);

  HANDLE semaphore = nullptr;
  bool ended = false;
  Form1 form1;
  Form2 form2;
  Form3 form3;
  Form4 form4;
  Form6 form6;
};

}  // namespace wizard
