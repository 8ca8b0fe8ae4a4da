// Where the shortcut may be written, and how. The tool runs with the administrator's rights
// while the SendTo folder belongs to the user, who may have put links anywhere in it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Writes `bytes` as the file `path`, which must lie directly in ProfileSendTo() and be reached
// through no link. The bytes go to a new file of their own that is then renamed over the name,
// so whatever stood at the name is replaced and never written through. On failure nothing of
// ours is left. S_OK or the failing status.
HRESULT SaveInSendTo(const std::wstring& path, const std::vector<BYTE>& bytes);
