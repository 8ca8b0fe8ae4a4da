#pragma once
// The single-instance semaphore "Sorvane", shared with the creation wizard.

namespace tray {

// Creates or opens the semaphore and takes its one count without waiting, keeping the handle in
// SemaphoreHandle until Form_Unload closes it. False (after the message, with the handle
// already closed) when the wizard or another tray program holds it.
bool TakeInstanceSemaphore();

}  // namespace tray
