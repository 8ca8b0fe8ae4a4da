// Who may do what with a disk device, as the bytes of its DACL. Freestanding, so the
// same bytes the driver sets are checked in ordinary tests.
#pragma once

#include <stddef.h>
#include <stdint.h>

// The rights in the ACEs (winnt.h's values).
constexpr uint32_t kFileAllAccess = 0x001f01ff;
// Reaching the file system on the volume and the device's informational questions:
// traverse, read attributes, read control, synchronize.
constexpr uint32_t kEveryoneAccess = 0x00000020 | 0x00000080 | 0x00020000 | 0x00100000;

// An ACL (revision 2) of three access-allowed ACEs: SYSTEM and Administrators with all
// access, Everyone with kEveryoneAccess. Reading or writing sectors, and the product's
// own requests (which need read and write access), stay the administrators'.
constexpr size_t kDeviceAclBytes = 8 + (8 + 12) + (8 + 16) + (8 + 12);
void BuildDeviceAcl(uint8_t (&acl)[kDeviceAclBytes]);
