// Who may do what with a disk device: the DACL the driver sets, read back as bytes,
// and the access the product's requests demand of a handle.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

#include "device_access.h"
#include "device_grants.h"
#include "sorvdisk_ioctl.h"

namespace {

using namespace testsupport;

Grants DeviceGrants() {
  alignas(4) uint8_t acl[kDeviceAclBytes];
  BuildDeviceAcl(acl);
#ifdef _WIN32
  EXPECT_TRUE(IsValidAcl(reinterpret_cast<PACL>(acl)));
#endif
  return ReadGrants(acl, sizeof acl);
}

TEST(DeviceAccess, AdministratorsMayDoAllEveryoneOnlyTraverse) {
  EXPECT_EQ(DeviceGrants(), kDeviceGrants);
}

TEST(DeviceAccess, EveryoneNeverReadsWritesNorChangesTheDevice) {
  const struct {
    uint32_t right;
    const char* name;
  } forbidden[] = {
      {0x1, "FILE_READ_DATA"},          {0x2, "FILE_WRITE_DATA"},    {0x4, "FILE_APPEND_DATA"},
      {0x100, "FILE_WRITE_ATTRIBUTES"}, {0x10000, "DELETE"},         {0x40000, "WRITE_DAC"},
      {0x80000, "WRITE_OWNER"},         {0x10000000, "GENERIC_ALL"}, {0x40000000, "GENERIC_WRITE"},
      {0x80000000, "GENERIC_READ"},
  };
  for (const auto& [sid, mask] : DeviceGrants()) {
    if (sid != "S-1-1-0") continue;
    for (const auto& f : forbidden) EXPECT_EQ(mask & f.right, 0u) << f.name;
  }
}

// The I/O manager lets a request through only to a handle with the access its code
// names (bits 14-15): the product's requests need read and write, which only the
// administrators get.
TEST(DeviceAccess, TheProductsRequestsNeedReadAndWriteAccess) {
  const struct {
    uint32_t code;
    const char* name;
  } requests[] = {
      {kIoctlOpenFile, "open file"},
      {kIoctlCloseFile, "close file"},
      {kIoctlSetKey, "set key"},
      {kIoctlLockFile, "lock file"},
      {kIoctlUnlockFile, "unlock file"},
      {kIoctlLinkLetter, "link letter"},
      {kIoctlUnlinkLetter, "unlink letter"},
      {kIoctlQueryDevice, "query device"},
  };
  const uint32_t readAndWrite = 1 << 14 | 2 << 14;  // FILE_READ_ACCESS | FILE_WRITE_ACCESS
  for (const auto& r : requests) EXPECT_EQ(r.code & 3u << 14, readAndWrite) << r.name;
}

}  // namespace
