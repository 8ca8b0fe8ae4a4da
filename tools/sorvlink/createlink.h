// Writes one shell shortcut (.lnk).
#pragma once

#include <windows.h>

// Points the shortcut at linkPath to target with the given description. linkPath must name a
// file directly in the SendTo folder of the running user's profile (see sendto.h). Returns
// S_OK when the file was written, else the failing step's status. A path that does not fit
// MAX_PATH characters is refused before anything is created.
HRESULT CreateLink(const wchar_t* target, const wchar_t* linkPath, const wchar_t* description);
