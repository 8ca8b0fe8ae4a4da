// The driver's checks of request buffers and transfers: malformed input is refused.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "request_check.h"
#include "sorvdisk_ioctl.h"

namespace {

std::vector<uint8_t> OpenRequest(const char* name, size_t declaredLength, size_t trailer = 5) {
  std::vector<uint8_t> r(kOpenFileNameOffset + strlen(name) + trailer, 0);
  r[16] = static_cast<uint8_t>(declaredLength);
  r[17] = static_cast<uint8_t>(declaredLength >> 8);
  memcpy(&r[kOpenFileNameOffset], name, strlen(name));
  return r;
}

TEST(OpenFileRequestCheck, AcceptsTheNtPathWithinTheBuffer) {
  auto r = OpenRequest("\\??\\C:\\a.cvd", 12);
  const char* name;
  size_t length;
  ASSERT_TRUE(ParseOpenFileRequest(r.data(), r.size(), &name, &length));
  EXPECT_EQ(std::string(name, length), "\\??\\C:\\a.cvd");
  // Without its trailer the name is still whole.
  r.resize(kOpenFileNameOffset + 12);
  EXPECT_TRUE(ParseOpenFileRequest(r.data(), r.size(), &name, &length));
}

TEST(OpenFileRequestCheck, RefusesMalformedRequests) {
  const char* name;
  size_t length;
  auto good = OpenRequest("\\??\\C:\\a.cvd", 12);
  EXPECT_FALSE(ParseOpenFileRequest(good.data(), 17, &name, &length)) << "shorter than its header";
  EXPECT_FALSE(ParseOpenFileRequest(nullptr, 0, &name, &length));
  auto past = OpenRequest("\\??\\C:\\a.cvd", 12 + 6);
  EXPECT_FALSE(ParseOpenFileRequest(past.data(), past.size(), &name, &length))
      << "length past the buffer";
  auto huge = OpenRequest("\\??\\C:\\a.cvd", 0xffff);
  EXPECT_FALSE(ParseOpenFileRequest(huge.data(), huge.size(), &name, &length));
  auto empty = OpenRequest("", 0);
  EXPECT_FALSE(ParseOpenFileRequest(empty.data(), empty.size(), &name, &length));
  auto notDos = OpenRequest("\\Device\\Harddisk0\\DR0", 21);
  EXPECT_FALSE(ParseOpenFileRequest(notDos.data(), notDos.size(), &name, &length));
  auto withNul = OpenRequest("\\??\\C:\\a.cvd", 12);
  withNul[kOpenFileNameOffset + 6] = 0;
  EXPECT_FALSE(ParseOpenFileRequest(withNul.data(), withNul.size(), &name, &length));
}

TEST(LockFileRequestCheck, TakesThePathUpToItsTerminator) {
  uint8_t r[kLockFileSize] = {};
  memcpy(r, "C:\\x y\\a.cvd", 12);
  const char* path;
  size_t length;
  ASSERT_TRUE(ParseLockFileRequest(r, sizeof r, &path, &length));
  EXPECT_EQ(std::string(path, length), "C:\\x y\\a.cvd");
  EXPECT_FALSE(ParseLockFileRequest(r, 12, &path, &length)) << "no terminator inside";
  memset(r, 'a', sizeof r);
  EXPECT_FALSE(ParseLockFileRequest(r, sizeof r, &path, &length));
  r[0] = 0;
  EXPECT_FALSE(ParseLockFileRequest(r, sizeof r, &path, &length)) << "empty path";
  EXPECT_FALSE(ParseLockFileRequest(nullptr, 0, &path, &length));
}

TEST(DiskGeometry, DiskIsTheWholeSectorsAfterTheHeader) {
  EXPECT_EQ(DiskLength(10 << 20), (10u << 20) - 1024);
  EXPECT_EQ(DiskLength(1024 + 512 + 511), 512u);
  EXPECT_EQ(DiskLength(1024 + 511), 0u);
  EXPECT_EQ(DiskLength(100), 0u);
}

TEST(DiskGeometry, TransfersStayOnWholeSectorsInsideTheDisk) {
  const uint64_t disk = 4096;
  EXPECT_TRUE(TransferFits(0, 4096, disk));
  EXPECT_TRUE(TransferFits(3584, 512, disk));
  EXPECT_FALSE(TransferFits(3584, 1024, disk));
  EXPECT_FALSE(TransferFits(4096, 512, disk));
  EXPECT_FALSE(TransferFits(100, 512, disk));
  EXPECT_FALSE(TransferFits(0, 100, disk));
  EXPECT_FALSE(TransferFits(~0ull - 511, 1024, disk)) << "no wrap-around";
}

}  // namespace
