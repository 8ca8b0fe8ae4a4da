// Writes one shell shortcut (.lnk).
#pragma once

#include <windows.h>

// Points the shortcut at linkPath to target with the given description.
// Returns the status of the last step: S_OK when the file was written. A path
// that does not fit MAX_PATH characters is refused before anything is created.
HRESULT CreateLink(const char* target, const char* linkPath, const char* description);
