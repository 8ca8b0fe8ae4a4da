#pragma once
// The two data blocks that carry a container's password: block 1 holds the password verifier,
// block 2 the disk key wrapped under the password. Texts cross to the libraries in the ANSI
// code page.
#include <windows.h>

#include <functional>
#include <string>

#include "SorvCtl.h"

namespace desk {

inline constexpr int kVerifierBlock = 1;
inline constexpr int kWrappedKeyBlock = 2;

// The libraries take ANSI paths: a path that does not survive the conversion could name
// another file, so it is neither read nor written (false, as an unreadable file).
// The block's text, cut at its first NUL; false when the library cannot read it.
bool ReadBlock(const std::wstring& path, int index, std::string& text);
bool WriteBlock(const std::wstring& path, int index, const std::string& text);
// True when the block reads back as exactly this text (the library pads it with NULs, so the
// block's bytes are then as that text was written).
bool BlockHolds(const std::wstring& path, int index, const std::string& text);
// Stores block 1 and block 2 together: both lie in the header's first 512-byte sector, which is
// read, checked to be a container's and written back in one write, so that a crash leaves the
// old pair or the new one, never a verifier beside a key it does not open. False when the file
// is no container or cannot be written; a failed flush counts as failed (the read-back judges).
bool WriteKeyBlocks(const std::wstring& path, const std::string& verifier,
                    const std::string& wrapped);
// Tests: replaces the WriteFile of that sector (an empty function restores it); returns the
// previous one. A write that fails, or lands and then fails, cannot be had on demand.
using SectorWriter = std::function<BOOL(HANDLE, const void*, DWORD, DWORD*, OVERLAPPED*)>;
SectorWriter SetSectorWriter(SectorWriter writer);
bool HeaderIsValid(const std::wstring& path);

// The verifier of a typed password, as block 1 stores it.
std::string VerifierOf(SorvCtl& control, const std::wstring& password);

// The first 16 characters of the disk key from block 2: what the driver receives as key bytes.
std::string UnwrapKey(const std::string& wrapped, const std::wstring& password);
// The key wrapped under a password: 24 Base64 characters, "" when the library fails.
std::string WrapKey(const std::string& key, const std::wstring& password);

}  // namespace desk
