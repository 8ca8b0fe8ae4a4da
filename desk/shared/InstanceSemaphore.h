#pragma once
// The semaphore "Sorvane" (count 1) that lets only one of the wizard and the tray program run;
// in the product's private namespace where the system has one (private_names.h).
#include <windows.h>

// Creates or opens the semaphore and takes its count without waiting. When another program
// holds it: the handle is closed first, so that this refused instance does not keep the
// semaphore alive while its message waits for the user, then the message; null.
HANDLE TakeInstanceSemaphore();

// Gives the count back before closing the handle: the next program then gets the count even
// while some other process still has the semaphore open. The handle becomes null.
void ReleaseInstanceSemaphore(HANDLE& handle);
