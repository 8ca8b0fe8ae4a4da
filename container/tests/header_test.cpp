// The header functions as the programs reach them: through SorvBlock.dll and
// SorvProbe.dll on Windows, the same code linked directly on the host.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#ifdef _WIN32
#include <windows.h>

#include "library.h"
#define SORV_CALL __stdcall
#else
#include "header.h"
#define SORV_CALL
#endif

namespace {

namespace fs = std::filesystem;

struct HeaderApi {
  int(SORV_CALL* init)(const char*);
  int(SORV_CALL* verifyProbe)(const char*);
  int(SORV_CALL* verifyBlock)(const char*);
  int(SORV_CALL* version)(const char*);
  int(SORV_CALL* write)(const char*, int, const char*);
  int(SORV_CALL* read)(const char*, int, char*);
};

#ifdef _WIN32
const Library block("SorvBlock.dll");
const Library probe("SorvProbe.dll");
const HeaderApi api = {
    block.Bind<decltype(HeaderApi::init)>("CVD_InitHeader"),
    probe.Bind<decltype(HeaderApi::verifyProbe)>("CVD_VerifyHeader"),
    block.Bind<decltype(HeaderApi::verifyBlock)>("CVD_VerifyHeader"),
    block.Bind<decltype(HeaderApi::version)>("CVD_GetVersion"),
    block.Bind<decltype(HeaderApi::write)>("CVD_WriteDataBlock"),
    block.Bind<decltype(HeaderApi::read)>("CVD_ReadDataBlock"),
};
#else
const HeaderApi api = {
    header::Init,
    [](const char* path) { return header::Verify(path, false); },
    [](const char* path) { return header::Verify(path, true); },
    header::Version,
    header::WriteBlock,
    header::ReadBlock,
};
#endif

std::string Header(uint32_t version = 1) {
  std::string bytes(1024, '\0');
  bytes.replace(0, 2, "SR");
  bytes[5] = 4;  // 1024, little-endian
  std::memcpy(&bytes[8], &version, 4);
  return bytes;
}

class ContainerHeader : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(api.init && api.verifyProbe && api.verifyBlock && api.version && api.write &&
                api.read);
    folder_ = fs::temp_directory_path() /
              (std::string("sorv_header_") + testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    path_ = (folder_ / "Sorvane.cvd").string();
  }
  void TearDown() override { fs::remove_all(folder_); }

  void Put(const std::string& bytes) {
    std::ofstream(path_, std::ios::binary | std::ios::trunc) << bytes;
  }
  std::string Contents() const {
    std::ifstream in(path_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  // Reads a block into a guarded 128-byte buffer; returns its first 64 bytes.
  std::string Read(int index, int* result = nullptr) {
    char out[128];
    std::memset(out, '#', sizeof out);
    int r = api.read(path_.c_str(), index, out);
    if (result) *result = r;
    EXPECT_EQ(out[64], '#') << "byte written past the block";
    return std::string(out, 64);
  }

  fs::path folder_;
  std::string path_;
};

TEST_F(ContainerHeader, InitWritesTheHeaderOverExistingFilesOnly) {
  EXPECT_EQ(api.init(path_.c_str()), -1);
  EXPECT_FALSE(fs::exists(path_));

  Put(std::string(100, 'x'));  // short file: lengthened to 1024
  EXPECT_EQ(api.init(path_.c_str()), 0);
  EXPECT_EQ(Contents(), Header());

  Put(std::string(4096, 'x'));  // the data beyond the header stays
  EXPECT_EQ(api.init(path_.c_str()), 0);
  EXPECT_EQ(Contents(), Header() + std::string(3072, 'x'));
  EXPECT_EQ(api.version(path_.c_str()), 1);
  EXPECT_EQ(api.verifyProbe(path_.c_str()), 0);
  EXPECT_EQ(api.verifyBlock(path_.c_str()), 0);
  for (int index = 1; index <= 15; ++index) EXPECT_EQ(Read(index), std::string(64, '\0'));
}

TEST_F(ContainerHeader, BlocksHoldSixtyFourCharactersAtTheirOffset) {
  Put(Header() + std::string(1024, 'd'));
  std::string seventy(70, 'k');
  EXPECT_EQ(api.write(path_.c_str(), 2, seventy.c_str()), 0);
  EXPECT_EQ(Read(2), std::string(64, 'k'));  // full block, no terminator
  EXPECT_EQ(Contents().substr(128, 64), std::string(64, 'k'));

  // A shorter text clears the rest of the block.
  EXPECT_EQ(api.write(path_.c_str(), 2, "\xbc\xd3\xc3\xdc verifier"), 0);
  EXPECT_EQ(Read(2), std::string("\xbc\xd3\xc3\xdc verifier") + std::string(51, '\0'));
  EXPECT_EQ(api.write(path_.c_str(), 15, ""), 0);
  EXPECT_EQ(Read(15), std::string(64, '\0'));

  std::string disk = Contents();
  EXPECT_EQ(disk.size(), 2048u);
  EXPECT_EQ(disk.substr(0, 128), Header().substr(0, 128));
  EXPECT_EQ(disk.substr(192, 768), std::string(768, '\0'));  // blocks 3..14 untouched
  EXPECT_EQ(disk.substr(1024), std::string(1024, 'd'));

  // Bytes after a 0 inside a block do not reach the caller.
  disk.replace(64 * 3, 5, std::string("ab\0cd", 5));
  Put(disk);
  EXPECT_EQ(Read(3), std::string("ab") + std::string(62, '\0'));
}

TEST_F(ContainerHeader, BlockIndexOutsideOneToFifteenTouchesNothing) {
  Put(Header());
  for (int index : {0, 16, -1, INT_MIN, INT_MAX}) {
    SCOPED_TRACE(index);
    EXPECT_EQ(api.write(path_.c_str(), index, "text"), -1);
    int result = 0;
    EXPECT_EQ(Read(index, &result), std::string(64, '#'));
    EXPECT_EQ(result, -1);
  }
  EXPECT_EQ(Contents(), Header());
  EXPECT_EQ(api.write(path_.c_str(), 1, "first"), 0);
  EXPECT_EQ(api.write(path_.c_str(), 15, "last"), 0);
  EXPECT_EQ(Contents().substr(64, 5), "first");
  EXPECT_EQ(Contents().substr(960, 4), "last");
}

TEST_F(ContainerHeader, VerifyLooksAtMagicAndSizeOnly) {
  std::string header = Header(7);
  header[2] = 'x';
  header[3] = 'y';
  Put(header);
  EXPECT_EQ(api.verifyProbe(path_.c_str()), 0);
  EXPECT_EQ(api.verifyBlock(path_.c_str()), 0);
  EXPECT_EQ(api.version(path_.c_str()), 7);

  std::string lowerMagic = Header();
  lowerMagic.replace(0, 2, "sr");
  std::string size1025 = Header();
  size1025[4] = 1;
  for (const std::string& bad : {lowerMagic, size1025, std::string(2048, 'S')}) {
    Put(bad);
    EXPECT_EQ(api.verifyProbe(path_.c_str()), -1);
    EXPECT_EQ(api.verifyBlock(path_.c_str()), -1);
  }
}

TEST_F(ContainerHeader, ShortFiles) {
  // Under 8 bytes the programs' check refuses; the second check zero-extends.
  Put(std::string("SR\0\0\0\4\0", 7));
  EXPECT_EQ(api.verifyProbe(path_.c_str()), -1);
  EXPECT_EQ(api.verifyBlock(path_.c_str()), 0);
  EXPECT_EQ(api.version(path_.c_str()), 0);
  Put(std::string("SR\0\0\0\4\0\0", 8));
  EXPECT_EQ(api.verifyProbe(path_.c_str()), 0);
  Put("");
  EXPECT_EQ(api.verifyProbe(path_.c_str()), -1);
  EXPECT_EQ(api.verifyBlock(path_.c_str()), -1);

  // A file ending at offset 900: block 15 reads as zeros, block 14 is cut.
  Put(Header().substr(0, 896) + "abcd");
  int result = -1;
  EXPECT_EQ(Read(15, &result), std::string(64, '\0'));
  EXPECT_EQ(result, 0);
  EXPECT_EQ(Read(14), "abcd" + std::string(60, '\0'));

  // Not a container: the version is whatever sits at offset 8.
  Put("GIF89a..\x2a\x01\x00\x00 rest");
  EXPECT_EQ(api.version(path_.c_str()), 0x12a);
}

TEST_F(ContainerHeader, MissingFilesFailEverywhere) {
  const char* missing = path_.c_str();
  EXPECT_EQ(api.init(missing), -1);
  EXPECT_EQ(api.verifyProbe(missing), -1);
  EXPECT_EQ(api.verifyBlock(missing), -1);
  EXPECT_EQ(api.version(missing), -1);
  EXPECT_EQ(api.write(missing, 1, "x"), -1);
  int result = 0;
  EXPECT_EQ(Read(1, &result), std::string(64, '#'));
  EXPECT_EQ(result, -1);
  EXPECT_FALSE(fs::exists(path_));
  EXPECT_EQ(api.verifyProbe((folder_ / "no folder" / "a.cvd").string().c_str()), -1);
}

// A write that cannot reach the disk is a failure, not success: a full device
// opens for update and refuses every write (Wine maps it through drive Z:).
TEST_F(ContainerHeader, FailedWriteIsReported) {
#ifdef _WIN32
  const char* full = "Z:\\dev\\full";
#else
  const char* full = "/dev/full";
#endif
  FILE* probe = std::fopen(full, "r+b");
  if (!probe) GTEST_SKIP() << "no full device here";
  std::fclose(probe);
  EXPECT_EQ(api.init(full), -1);
  EXPECT_EQ(api.write(full, 2, "wrapped key"), -1);
}

#ifdef _WIN32
TEST_F(ContainerHeader, AnsiPathsWithChineseNames) {
  std::wstring wide = (folder_ / L"加密盘.cvd").wstring();
  HANDLE file = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  char ansi[MAX_PATH] = {};
  WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, ansi, sizeof ansi, nullptr, nullptr);
  EXPECT_EQ(api.init(ansi), 0);
  EXPECT_EQ(api.verifyProbe(ansi), 0);
  EXPECT_EQ(fs::file_size(wide), 1024u);
}
#endif

}  // namespace
