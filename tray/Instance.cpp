#include "Instance.h"

#include "InstanceSemaphore.h"
#include "TrayState.h"

namespace tray {

bool TakeInstanceSemaphore() {
  SemaphoreHandle = ::TakeInstanceSemaphore();
  return SemaphoreHandle != nullptr;
}

}  // namespace tray
