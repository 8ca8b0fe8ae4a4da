#pragma once
// A drive that an earlier tray program mounted and did not live to unmount.

namespace tray {

// Asks the driver whether device 0 still serves a container (or keeps its letter); if so,
// unmounts it as the quit does, forced when the plain unmount does not take, and tells the
// user. Runs while this program holds the single-instance semaphore, so no running tray
// program or wizard owns that drive.
void SettleOrphanedMount();

}  // namespace tray
