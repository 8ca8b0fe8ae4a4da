// The mount and service libraries against the real driver under Wine: containers
// mounted, sectors through \\.\Q:, the file checked, guarded files, the service
// installed and removed, and commands from several processes.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "sorvdisk_ioctl.h"
#include "xts.h"

#include <winioctl.h>

namespace {

const char kKey[] = "0123456789ABCDEFGHIJKLMN";  // 24 characters; the driver gets 16

template <typename F>
F Export(const char* library, const char* name) {
  HMODULE module = LoadLibraryA(library);
  return module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                : nullptr;
}

int Mount(const std::string& line) {
  static auto mount = Export<int(__stdcall*)(const char*)>("SorvMount.dll", "SorvMount");
  return mount ? mount(line.c_str()) : -100;
}

bool Defined(const char* drive) {
  char target[MAX_PATH];
  return QueryDosDeviceA(drive, target, MAX_PATH) != 0;
}

std::string Target(const char* drive) {
  char target[MAX_PATH] = {};
  QueryDosDeviceA(drive, target, MAX_PATH);
  return target;
}

std::string Folder() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string folder = std::string(temp) + "sorv mount test\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

// A container as the programs make it: header, then zeros, 10 MiB.
std::vector<uint8_t> MakeContainer(const std::string& path, size_t size = 10 << 20) {
  std::vector<uint8_t> bytes(size, 0);
  memcpy(bytes.data(), "SR", 2);
  bytes[4 + 1] = 1024 >> 8;
  bytes[8] = 1;
  memcpy(bytes.data() + 64, "verifier text", 13);  // data block 1
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  EXPECT_EQ(written, bytes.size());
  return bytes;
}

std::vector<uint8_t> ReadWhole(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::vector<uint8_t> bytes(GetFileSize(file, nullptr));
  DWORD read = 0;
  ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(file);
  return bytes;
}

HANDLE OpenVolume(const char* volume) {
  return CreateFileA(volume, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                     nullptr, OPEN_EXISTING, FILE_FLAG_NO_BUFFERING, nullptr);
}

// Sector I/O at explicit offsets (Wine keeps no file position for devices).
bool Transfer(HANDLE volume, bool write, uint64_t offset, void* data, DWORD size) {
  OVERLAPPED at = {};
  at.Offset = static_cast<DWORD>(offset);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  DWORD done = 0;
  BOOL ok = write ? WriteFile(volume, data, size, &done, &at) : ReadFile(volume, data, size, &done, &at);
  return ok && done == size;
}

bool Control(HANDLE volume, DWORD code, const void* in, DWORD inSize, void* out = nullptr,
             DWORD outSize = 0) {
  DWORD returned;
  return DeviceIoControl(volume, code, const_cast<void*>(in), inSize, out, outSize, &returned,
                         nullptr) != 0;
}

class Driver : public ::testing::Test {
 protected:
  std::string folder = Folder();
  std::string container = folder + "disk one.cvd";

  void SetUp() override {
    for (const char* drive : {"Q:", "R:", "S:"})
      if (Defined(drive)) DefineDosDeviceA(DDD_REMOVE_DEFINITION, drive, nullptr);
  }
  void TearDown() override {
    if (Defined("Q:")) Mount("/kill Q:");
    Mount("/unlockfile 0 R:");
    DeleteFileA(container.c_str());
  }
  std::string MountLine(const char* drive = "Q:") {
    return "/mount 0 \"" + container + "\" " + drive + " " + kKey;
  }
};

TEST_F(Driver, MountedSectorsAreEncryptedBehindTheHeader) {
  const std::vector<uint8_t> original = MakeContainer(container);
  ASSERT_EQ(Mount(MountLine()), 0) << "is the driver installed?";
  EXPECT_EQ(Target("Q:"), "\\Device\\SorvDisk\\SorvDisk0");

  HANDLE volume = OpenVolume("\\\\.\\Q:");
  ASSERT_NE(volume, INVALID_HANDLE_VALUE);
  GET_LENGTH_INFORMATION length = {};
  EXPECT_TRUE(Control(volume, IOCTL_DISK_GET_LENGTH_INFO, nullptr, 0, &length, sizeof length));
  const uint64_t diskBytes = (10 << 20) - 1024;
  EXPECT_EQ(static_cast<uint64_t>(length.Length.QuadPart), diskBytes);
  DISK_GEOMETRY geometry = {};
  EXPECT_TRUE(Control(volume, IOCTL_DISK_GET_DRIVE_GEOMETRY, nullptr, 0, &geometry, sizeof geometry));
  EXPECT_EQ(geometry.BytesPerSector, 512u);
  EXPECT_TRUE(Control(volume, IOCTL_DISK_IS_WRITABLE, nullptr, 0));

  // Sectors at the start, in the middle and at the very end of the disk.
  std::vector<uint8_t> plain(8192);
  for (size_t i = 0; i < plain.size(); ++i) plain[i] = static_cast<uint8_t>(i * 7 + i / 512);
  const uint64_t offsets[] = {0, 4 << 20, diskBytes - plain.size()};
  for (uint64_t offset : offsets)
    EXPECT_TRUE(Transfer(volume, true, offset, plain.data(), static_cast<DWORD>(plain.size())));
  for (uint64_t offset : offsets) {
    std::vector<uint8_t> back(plain.size());
    EXPECT_TRUE(Transfer(volume, false, offset, back.data(), static_cast<DWORD>(back.size())));
    EXPECT_EQ(back, plain) << "at " << offset;
  }
  std::vector<uint8_t> sector(512);
  EXPECT_FALSE(Transfer(volume, false, diskBytes, sector.data(), 512)) << "past the end";
  EXPECT_FALSE(Transfer(volume, false, 100, sector.data(), 512)) << "not on a sector";
  EXPECT_EQ(ReadWhole(container).size(), 0u) << "the mounted file is held without sharing";
  CloseHandle(volume);

  EXPECT_EQ(Mount("/umount Q:\\"), 0);
  EXPECT_FALSE(Defined("Q:"));

  const std::vector<uint8_t> stored = ReadWhole(container);
  ASSERT_EQ(stored.size(), original.size());
  EXPECT_TRUE(std::equal(stored.begin(), stored.begin() + 1024, original.begin()))
      << "the header is untouched";
  XtsKey key;
  XtsSetDiskKey(&key, reinterpret_cast<const uint8_t*>(kKey), false);
  for (uint64_t offset : offsets) {
    std::vector<uint8_t> cipher(stored.begin() + 1024 + offset,
                                stored.begin() + 1024 + offset + plain.size());
    EXPECT_NE(cipher, plain);
    XtsDecryptSectors(&key, offset / 512, cipher.data(), cipher.data(), plain.size() / 512);
    EXPECT_EQ(cipher, plain) << "at " << offset;
  }
}

TEST_F(Driver, BothDriveWordsUnmountAndTheContainerIsFreeAgain) {
  MakeContainer(container);
  for (const char* line : {"/umount Q:", "/umount Q:\\", "/kill Q:"}) {
    ASSERT_EQ(Mount(MountLine()), 0);
    EXPECT_EQ(Mount(line), 0) << line;
    EXPECT_FALSE(Defined("Q:"));
    EXPECT_EQ(ReadWhole(container).size(), 10u << 20);
  }
  EXPECT_EQ(Mount("/umount Q:"), -1) << "nothing mounted";
}

TEST_F(Driver, MountingOntoAnExistingLetterLeavesItUntouched) {
  MakeContainer(container);
  const std::string before = Target("C:");
  ASSERT_FALSE(before.empty());
  EXPECT_EQ(Mount(MountLine("C:")), -1);
  EXPECT_EQ(Target("C:"), before);
  EXPECT_EQ(ReadWhole(container).size(), 10u << 20) << "the driver did not take the file";
  // A letter already mounted is in use too.
  ASSERT_EQ(Mount(MountLine()), 0);
  EXPECT_EQ(Mount(MountLine()), -1);
  EXPECT_EQ(Target("Q:"), "\\Device\\SorvDisk\\SorvDisk0");
}

TEST_F(Driver, MountingAMissingFileLeavesNoLetter) {
  EXPECT_EQ(Mount("/mount 0 \"" + folder + "no such.cvd\" Q: " + kKey), -1);
  EXPECT_FALSE(Defined("Q:"));
  EXPECT_EQ(Mount(std::string("/mount 0 \"\" Q: ") + kKey), -1) << "the empty path";
  EXPECT_FALSE(Defined("Q:"));
  // A second container on a device that is busy is refused the same way.
  MakeContainer(container);
  ASSERT_EQ(Mount(MountLine()), 0);
  std::string other = folder + "disk two.cvd";
  MakeContainer(other);
  EXPECT_EQ(Mount("/mount 0 \"" + other + "\" S: " + kKey), -1);
  EXPECT_FALSE(Defined("S:"));
  DeleteFileA(other.c_str());
}

TEST_F(Driver, LockFileGuardsTheContainerUntilUnlock) {
  MakeContainer(container);
  ASSERT_EQ(Mount("/lockfile 0 R: \"" + container + "\""), 0);
  EXPECT_FALSE(Defined("R:")) << "the temporary letter is gone";
  HANDLE other = CreateFileA(container.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(other, INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  EXPECT_FALSE(DeleteFileA(container.c_str()));

  ASSERT_EQ(Mount("/unlockfile 0 R:"), 0);
  EXPECT_FALSE(Defined("R:"));
  EXPECT_EQ(ReadWhole(container).size(), 10u << 20);

  EXPECT_EQ(Mount("/lockfile 0 C: \"" + container + "\""), -1) << "a letter in use";
  EXPECT_EQ(ReadWhole(container).size(), 10u << 20);
  EXPECT_EQ(Mount("/unlockfile 0 C:"), -1);
}

TEST_F(Driver, RefusesMalformedRequests) {
  ASSERT_TRUE(DefineDosDeviceA(DDD_RAW_TARGET_PATH, "S:", "\\Device\\SorvDisk\\SorvDisk1"));
  HANDLE volume = OpenVolume("\\\\.\\S:");
  ASSERT_NE(volume, INVALID_HANDLE_VALUE);
  uint8_t key[32] = {1};
  EXPECT_FALSE(Control(volume, kIoctlSetKey, key, sizeof key)) << "set-key before open-file";
  std::vector<uint8_t> sector(512);
  EXPECT_FALSE(Transfer(volume, false, 0, sector.data(), 512)) << "read before open-file";
  EXPECT_FALSE(Control(volume, IOCTL_DISK_GET_LENGTH_INFO, nullptr, 0, sector.data(), 8));

  uint8_t shortRequest[10] = {};
  EXPECT_FALSE(Control(volume, kIoctlOpenFile, shortRequest, sizeof shortRequest));
  EXPECT_FALSE(Control(volume, kIoctlOpenFile, nullptr, 0));
  std::vector<uint8_t> past(40, 0);
  past[16] = 200;  // name length past the buffer
  memcpy(&past[18], "\\??\\C:\\x", 8);
  EXPECT_FALSE(Control(volume, kIoctlOpenFile, past.data(), static_cast<DWORD>(past.size())));
  uint8_t unterminated[256];
  memset(unterminated, 'a', sizeof unterminated);
  EXPECT_FALSE(Control(volume, kIoctlLockFile, unterminated, sizeof unterminated));
  EXPECT_FALSE(Control(volume, 0x8000E014, nullptr, 0)) << "unknown request";

  // After all that the device still serves a disk.
  MakeContainer(container, 64 << 10);
  std::string name = "\\??\\" + container;
  std::vector<uint8_t> open(name.size() + 23, 0);
  open[16] = static_cast<uint8_t>(name.size());
  memcpy(&open[18], name.data(), name.size());
  EXPECT_TRUE(Control(volume, kIoctlOpenFile, open.data(), static_cast<DWORD>(open.size())));
  EXPECT_FALSE(Transfer(volume, false, 0, sector.data(), 512)) << "no sector moves before the key";
  EXPECT_FALSE(Control(volume, kIoctlSetKey, key, 16)) << "a short key";
  EXPECT_TRUE(Control(volume, kIoctlSetKey, key, sizeof key));
  EXPECT_TRUE(Transfer(volume, false, 0, sector.data(), 512));
  EXPECT_TRUE(Control(volume, kIoctlCloseFile, nullptr, 0));
  EXPECT_TRUE(Control(volume, kIoctlCloseFile, nullptr, 0)) << "closing twice is harmless";
  CloseHandle(volume);
  DefineDosDeviceA(DDD_REMOVE_DEFINITION, "S:", nullptr);
}

TEST_F(Driver, CommandWordsAreSplitExactly) {
  EXPECT_EQ(Mount("/unlockfile 0 R:"), 0);
  for (const char* line : {"/unlockfile  0 R:", "/unlockfile 0 R: ", " /unlockfile 0 R:",
                           "/UNLOCKFILE 0 R:", "/unlockfile 0", "", "/umount", "/kill  Q:"}) {
    EXPECT_EQ(Mount(line), -1) << "[" << line << "]";
    EXPECT_FALSE(Defined("R:"));
  }
  MakeContainer(container);
  // Unquoted, the blank in the path makes six words.
  EXPECT_EQ(Mount("/mount 0 " + container + " Q: " + kKey), -1);
  EXPECT_FALSE(Defined("Q:"));
  // Quoted or not, a path without blanks reaches the driver the same.
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string plainPath = std::string(temp) + "sorvplain.cvd";
  ASSERT_EQ(plainPath.find(' '), std::string::npos);
  MakeContainer(plainPath);
  for (const std::string& word : {plainPath, "\"" + plainPath + "\""}) {
    ASSERT_EQ(Mount("/lockfile 0 R: " + word), 0);
    EXPECT_EQ(ReadWhole(plainPath).size(), 0u) << word;
    ASSERT_EQ(Mount("/unlockfile 0 R:"), 0);
  }
  ASSERT_EQ(Mount("/mount 0 " + plainPath + " Q: " + kKey), 0);
  EXPECT_EQ(Mount("/umount Q:"), 0);
  DeleteFileA(plainPath.c_str());
}

PROCESS_INFORMATION StartClient(int count, const std::string& command) {
  SetEnvironmentVariableA("SORV_COMMAND", command.c_str());
  std::string line = "mount_client.exe " + std::to_string(count);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  EXPECT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &process));
  CloseHandle(process.hThread);
  return process;
}

DWORD Finish(PROCESS_INFORMATION process) {
  EXPECT_EQ(WaitForSingleObject(process.hProcess, 120000), WAIT_OBJECT_0);
  DWORD code = 999;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hProcess);
  return code;
}

TEST_F(Driver, CommandsFromSeveralProcessesRunOneAfterTheOther) {
  // While another holder has the command semaphore, a command waits.
  HANDLE semaphore = CreateSemaphoreA(nullptr, 1, 1, "SorvMount");
  ASSERT_EQ(WaitForSingleObject(semaphore, 10000), WAIT_OBJECT_0);
  PROCESS_INFORMATION waiting = StartClient(1, "/unlockfile 0 R:");
  EXPECT_EQ(WaitForSingleObject(waiting.hProcess, 1500), static_cast<DWORD>(WAIT_TIMEOUT));
  ReleaseSemaphore(semaphore, 1, nullptr);
  EXPECT_EQ(Finish(waiting), 0u);
  CloseHandle(semaphore);

  // Two processes using the same temporary letter at once never collide.
  MakeContainer(container);
  PROCESS_INFORMATION a = StartClient(15, "/lockfile 0 R: \"" + container + "\"");
  PROCESS_INFORMATION b = StartClient(15, "/unlockfile 0 R:");
  EXPECT_EQ(Finish(a), 0u);
  EXPECT_EQ(Finish(b), 0u);
  EXPECT_FALSE(Defined("R:"));
}

}  // namespace
