#include "Wizard.h"

#include "InstanceSemaphore.h"

namespace wizard {

Wizard::Wizard() : form1(*this), form2(*this), form3(*this), form4(*this), form6(*this) {}

void Wizard::End(forms::Form* keep) {
  ended = true;
  ReleaseInstanceSemaphore(semaphore);
  for (forms::Form* f : {static_cast<forms::Form*>(&form6), static_cast<forms::Form*>(&form4),
                         static_cast<forms::Form*>(&form3), static_cast<forms::Form*>(&form2),
                         static_cast<forms::Form*>(&form1)})
    if (f != keep && f->IsLoaded()) f->Unload();
}

}  // namespace wizard
