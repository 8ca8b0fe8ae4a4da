// The driver's checks of request buffers and transfers: malformed input is refused.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
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
}

// Both requests name files by DOS path; whatever else reaches the object manager
// opens devices, volumes or links. The open-file request carries "\??\" before it.
TEST(RequestNames, OnlyFullDosPathsToAFile) {
  const struct {
    const char* path;
    size_t length;  // 0: strlen
    bool accepted;
  } cases[] = {
      {"C:\\a.cvd", 0, true},
      {"z:\\x y\\a.cvd", 0, true},
      {"C:\\a", 0, true},
      {"", 0, false},
      {"C:", 0, false},  // the volume itself
      {"C:\\", 0, false},
      {"C:a.cvd", 0, false},  // relative to a current folder the kernel does not have
      {"1:\\a.cvd", 0, false},
      {"@:\\a.cvd", 0, false},
      {"\\Device\\Harddisk0\\DR0", 0, false},
      {"GLOBALROOT\\Device\\HarddiskVolume1\\a", 0, false},
      {"PhysicalDrive0", 0, false},
      {"\\\\server\\share\\a.cvd", 0, false},
      {"UNC\\server\\share\\a.cvd", 0, false},
      {"C:\\a\0.cvd", 8, false},  // a NUL inside the counted name
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    const size_t n = c.length ? c.length : strlen(c.path);
    std::string nt = "\\??\\" + std::string(c.path, n);
    auto open = OpenRequest("", 0, 0);
    open.insert(open.end(), nt.begin(), nt.end());
    open[16] = static_cast<uint8_t>(nt.size());
    const char* name;
    size_t length;
    EXPECT_EQ(ParseOpenFileRequest(open.data(), open.size(), &name, &length), c.accepted);
    if (c.length) continue;  // a lock-file path ends at its first NUL
    uint8_t lock[kLockFileSize] = {};
    memcpy(lock, c.path, n);
    EXPECT_EQ(ParseLockFileRequest(lock, sizeof lock, &name, &length), c.accepted);
  }
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

// Every piece whole sectors and non-empty, together exactly the transfer.
TEST(DiskGeometry, TransfersSplitIntoWholeSectorPiecesCoveringThem) {
  struct Case {
    uint32_t length, maxPieces, minPiece, count, pieceBytes;
  } const cases[] = {
      {8192, 4, 512, 4, 2048},          {2560, 4, 512, 3, 1024},  // 5 sectors: 2+2+1
      {512, 4, 512, 1, 512},            {1 << 20, 4, 256 << 10, 4, 256 << 10},
      {300 << 10, 4, 256 << 10, 1, 300 << 10}, {16 << 20, 4, 256 << 10, 4, 4 << 20},
      {(1 << 20) + 512, 4, 256 << 10, 4, (256 << 10) + 512}, {8192, 1, 512, 1, 8192},
  };
  for (const Case& c : cases) {
    const TransferSplit split = SplitTransfer(c.length, c.maxPieces, c.minPiece);
    EXPECT_EQ(split.count, c.count) << c.length;
    EXPECT_EQ(split.pieceBytes, c.pieceBytes) << c.length;
    EXPECT_EQ(split.pieceBytes % 512, c.count > 1 ? 0u : c.length % 512) << c.length;
    EXPECT_GT(c.length, (split.count - 1) * split.pieceBytes) << "the last piece is not empty";
    EXPECT_LE(c.length, split.count * split.pieceBytes) << "the pieces cover the transfer";
  }
}

}  // namespace
