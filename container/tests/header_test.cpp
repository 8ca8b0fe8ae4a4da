// The header functions as the programs reach them: through SorvBlock.dll and
// SorvProbe.dll on Windows, the same code linked directly on the host.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#ifdef _WIN32
#include "library.h"
#define SORV_CALL __stdcall
#else
#include "header.h"
#define SORV_CALL
#endif

namespace {

namespace fs = std::filesystem;
using PathFn = int(SORV_CALL*)(const char*);
using WriteFn = int(SORV_CALL*)(const char*, int, const char*);
using ReadFn = int(SORV_CALL*)(const char*, int, char*);

#ifdef _WIN32
const Library block("SorvBlock.dll"), probe("SorvProbe.dll");
const auto init = block.Bind<PathFn>("CVD_InitHeader");
const auto verifyProbe = probe.Bind<PathFn>("CVD_VerifyHeader");
const auto verifyBlock = block.Bind<PathFn>("CVD_VerifyHeader");
const auto version = block.Bind<PathFn>("CVD_GetVersion");
const auto write = block.Bind<WriteFn>("CVD_WriteDataBlock");
const auto read = block.Bind<ReadFn>("CVD_ReadDataBlock");
#else
const PathFn init = header::Init;
const PathFn verifyProbe = [](const char* path) { return header::Verify(path, false); };
const PathFn verifyBlock = [](const char* path) { return header::Verify(path, true); };
const PathFn version = header::Version;
const WriteFn write = header::WriteBlock;
const ReadFn read = header::ReadBlock;
#endif

// "SR", header size 1024 and version 1, little-endian, then zeros.
const std::string kHeader = std::string("SR\0\0\0\4\0\0\1", 9) + std::string(1015, '\0');

class ContainerHeader : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(init && verifyProbe && verifyBlock && version && write && read);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  void Put(const std::string& bytes) { std::ofstream(file_, std::ios::binary) << bytes; }
  std::string Contents() const {
    std::ifstream in(file_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  // Block index read into a guarded buffer: its 64 bytes, or "failed".
  std::string Read(int index) const {
    char out[65];
    out[64] = '#';
    int result = read(path_.c_str(), index, out);
    EXPECT_EQ(out[64], '#') << "byte written past the block";
    return result == 0 ? std::string(out, 64) : "failed";
  }

  const fs::path folder_ =
      fs::temp_directory_path() / ("sorv_header_" + std::to_string(std::random_device()()));
  const fs::path file_ = folder_ / "Sorvane.cvd";
  const std::string path_ = file_.string();
};

TEST_F(ContainerHeader, InitWritesOverExistingFilesOnlyAndMissingFilesFail) {
  for (const std::string& missing : {path_, (folder_ / "no folder" / "a.cvd").string()}) {
    EXPECT_EQ(init(missing.c_str()), -1);
    EXPECT_EQ(verifyProbe(missing.c_str()), -1);
    EXPECT_EQ(verifyBlock(missing.c_str()), -1);
    EXPECT_EQ(version(missing.c_str()), -1);
    EXPECT_EQ(write(missing.c_str(), 1, "x"), -1);
  }
  EXPECT_EQ(Read(1), "failed");
  EXPECT_FALSE(fs::exists(file_));
  Put(std::string(100, 'x'));  // lengthened to the header
  EXPECT_EQ(init(path_.c_str()), 0);
  EXPECT_EQ(Contents(), kHeader);
  Put(std::string(4096, 'x'));  // the data beyond the header stays
  EXPECT_EQ(init(path_.c_str()), 0);
  EXPECT_EQ(Contents(), kHeader + std::string(3072, 'x'));
}

TEST_F(ContainerHeader, BlocksHoldSixtyFourBytesAtTheirOffset) {
  Put(kHeader + std::string(1024, 'd'));
  EXPECT_EQ(write(path_.c_str(), 2, std::string(70, 'k').c_str()), 0);
  EXPECT_EQ(Read(2), std::string(64, 'k'));  // full block, no terminator
  EXPECT_EQ(write(path_.c_str(), 1, "\xbc\xd3\xc3\xdc first"), 0);
  EXPECT_EQ(write(path_.c_str(), 15, "last"), 0);
  for (int index : {0, 16, -1, INT_MIN, INT_MAX}) {
    SCOPED_TRACE(index);
    EXPECT_EQ(write(path_.c_str(), index, "text"), -1);
    EXPECT_EQ(Read(index), "failed");
  }
  std::string expected = kHeader + std::string(1024, 'd');
  expected.replace(64, 10, "\xbc\xd3\xc3\xdc first");
  expected.replace(128, 64, std::string(64, 'k'));
  expected.replace(960, 4, "last");
  EXPECT_EQ(Contents(), expected);

  // A shorter text clears the rest of its block; a read stops at the first 0.
  EXPECT_EQ(write(path_.c_str(), 2, "ab"), 0);
  EXPECT_EQ(Read(2), "ab" + std::string(62, '\0'));
  Put(kHeader.substr(0, 192) + std::string("ab\0cd", 5));  // also: the file ends in block 3
  EXPECT_EQ(Read(3), "ab" + std::string(62, '\0'));
  EXPECT_EQ(Read(15), std::string(64, '\0'));
}

// The check looks at "SR" and the size only; SorvProbe refuses a file under
// 8 bytes where SorvBlock reads the missing bytes as zeros.
TEST_F(ContainerHeader, VerifyAndVersionOfShortAndForeignFiles) {
  const struct {
    std::string bytes;
    int probe, block, version;
  } rows[] = {
      {std::string("SRxy\0\4\0\0\7", 9), 0, 0, 7},
      {std::string("sr\0\0\0\4\0\0", 8), -1, -1, 0},
      {std::string("SR\0\0\1\4\0\0", 8), -1, -1, 0},
      {std::string("SR\0\0\0\4\0\0", 8), 0, 0, 0},
      {std::string("SR\0\0\0\4\0", 7), -1, 0, 0},
      {"", -1, -1, 0},
      {"GIF89a..\x2a\x01\x00\x00 rest", -1, -1, 0x12a},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::PrintToString(row.bytes));
    Put(row.bytes);
    EXPECT_EQ(verifyProbe(path_.c_str()), row.probe);
    EXPECT_EQ(verifyBlock(path_.c_str()), row.block);
    EXPECT_EQ(version(path_.c_str()), row.version);
  }
}

// A write that cannot reach the disk is a failure, not success: a full device
// opens for update and refuses every write (Wine maps it through drive Z:).
TEST_F(ContainerHeader, FailedWriteIsReported) {
#ifdef _WIN32
  const char* full = "Z:\\dev\\full";
#else
  const char* full = "/dev/full";
#endif
  FILE* device = std::fopen(full, "r+b");
  if (!device) GTEST_SKIP() << "no full device here";
  std::fclose(device);
  EXPECT_EQ(init(full), -1);
  EXPECT_EQ(write(full, 2, "wrapped key"), -1);
}

}  // namespace
