// The requests SorvDisk.sys takes, shared by the driver and the mount library.
// Codes are CTL_CODE(0x8000, function, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS).
#pragma once

#include <stdint.h>

constexpr uint32_t SorvDiskCode(uint32_t function) {
  return (0x8000u << 16) | (3u << 14) | (function << 2);
}

constexpr uint32_t kIoctlOpenFile = SorvDiskCode(0x800);    // 0x8000E000
constexpr uint32_t kIoctlCloseFile = SorvDiskCode(0x801);   // 0x8000E004
constexpr uint32_t kIoctlSetKey = SorvDiskCode(0x802);      // 0x8000E008
constexpr uint32_t kIoctlLockFile = SorvDiskCode(0x803);    // 0x8000E00C
constexpr uint32_t kIoctlUnlockFile = SorvDiskCode(0x804);  // 0x8000E010
// The mounted drive's letter for every logon session: link takes the letter (one
// byte, 'A' to 'Z' in either case), unlink removes the device's letter.
constexpr uint32_t kIoctlLinkLetter = SorvDiskCode(0x810);    // 0x8000E040
constexpr uint32_t kIoctlUnlinkLetter = SorvDiskCode(0x811);  // 0x8000E044
// What a device serves, so that a later start finds a mount whose program died:
// byte 0 is 1 while a container is open on it, byte 1 its letter for every session
// ('A' to 'Z', 0 when none).
constexpr uint32_t kIoctlQueryDevice = SorvDiskCode(0x812);  // 0x8000E048
constexpr uint32_t kQueryDeviceSize = 2;

// Open-file: 16 reserved bytes, a 16-bit name length, the NT path ("\??\C:\..."),
// then 5 zero bytes.
constexpr uint32_t kOpenFileNameOffset = 18;
constexpr uint32_t kOpenFileOverhead = kOpenFileNameOffset + 5;
constexpr uint32_t kSetKeySize = 32;
constexpr uint32_t kKeyBytes = 16;
constexpr uint32_t kLockFileSize = 256;

// The disk starts after the container header; sectors are 512 bytes.
constexpr uint64_t kDiskOffset = 1024;
constexpr uint32_t kSectorSize = 512;
constexpr unsigned kDeviceCount = 4;
