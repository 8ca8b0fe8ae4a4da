#pragma once
// The single-instance semaphore "Sorvane", shared with the creation wizard.

namespace tray {

// Creates or opens the semaphore and takes its one count without waiting. False (after the
// message) when the wizard or another tray program holds it. The handle stays open in
// SemaphoreHandle either way; Form_Unload closes it.
bool TakeInstanceSemaphore();

}  // namespace tray
