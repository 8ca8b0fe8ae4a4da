// The mount and service libraries against the installed driver under Wine.
#include <gtest/gtest.h>
#include <windows.h>
#include <winioctl.h>
#include <winternl.h>
#include <dbt.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "aes.h"
#include "MessageBoxes.h"
#include "StartProcess.h"
#include "command.h"
#include "device_grants.h"
#include "sha256.h"
#include "sorvdisk_ioctl.h"

namespace {

const char kKey[] = "0123456789ABCDEFGHIJKLMN";  // 24 characters; the driver takes 16
const size_t kFileBytes = 10 << 20, kDiskBytes = kFileBytes - 1024;

// The test's own reading of the disk format: XTS-AES-128 per 512-byte sector, key 2
// the first half of SHA-256 of key 1, tweak the sector number.
void DecryptSector(uint64_t sector, uint8_t* data) {
  uint8_t key2[32], t[16] = {};
  Sha256Digest(key2, kKey, 16);
  AesContext data1, tweak;
  AesSetKey(&data1, reinterpret_cast<const uint8_t*>(kKey), 16, 0);
  AesSetKey(&tweak, key2, 16, 1);
  memcpy(t, &sector, sizeof sector);  // little-endian
  AesEncryptBlock(&tweak, t, t);
  for (int block = 0; block < 32; ++block, data += 16) {
    for (int i = 0; i < 16; ++i) data[i] ^= t[i];
    AesDecryptBlock(&data1, data, data);
    for (int i = 0; i < 16; ++i) data[i] ^= t[i];
    const bool carry = t[15] & 0x80;
    for (int i = 15; i > 0; --i) t[i] = static_cast<uint8_t>(t[i] << 1 | t[i - 1] >> 7);
    t[0] = static_cast<uint8_t>(t[0] << 1 ^ (carry ? 0x87 : 0));
  }
}

template <typename F>
F Export(const char* library, const char* name) {
  HMODULE module = LoadLibraryA(library);
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

int Mount(const std::string& line) {
  static auto mount = Export<int(__stdcall*)(const char*)>("SorvMount.dll", "SorvMount");
  return mount(line.c_str());
}

std::string Target(const char* drive) {
  char target[MAX_PATH] = {};
  QueryDosDeviceA(drive, target, MAX_PATH);
  return target;
}

std::string Temp(const char* name) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  return std::string(temp) + name;
}

std::vector<uint8_t> ReadWhole(const std::string& path) {  // empty when it cannot be opened
  HANDLE file =
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::vector<uint8_t> bytes(GetFileSize(file, nullptr));
  DWORD read = 0;
  ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(file);
  return bytes;
}

// A container as the programs make it: zero-filled at full size, then header and a
// data block written by the header library.
std::vector<uint8_t> MakeContainer(const std::string& path, size_t size = kFileBytes) {
  static auto init = Export<int(__stdcall*)(const char*)>("SorvBlock.dll", "CVD_InitHeader");
  static auto block =
      Export<int(__stdcall*)(const char*, int, const char*)>("SorvBlock.dll", "CVD_WriteDataBlock");
  std::vector<uint8_t> zeros(size, 0);
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, zeros.data(), static_cast<DWORD>(size), &written, nullptr);
  CloseHandle(file);
  EXPECT_EQ(init(path.c_str()), 0);
  EXPECT_EQ(block(path.c_str(), 1, "verifier text"), 0);
  return ReadWhole(path);
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
  BOOL ok =
      write ? WriteFile(volume, data, size, &done, &at) : ReadFile(volume, data, size, &done, &at);
  return ok && done == size;
}

bool Control(HANDLE volume, DWORD code, const void* in, DWORD inSize, void* out = nullptr,
             DWORD outSize = 0) {
  DWORD returned;
  return DeviceIoControl(volume, code, const_cast<void*>(in), inSize, out, outSize, &returned,
                         nullptr);
}

// The service's configuration, null when there is none, and whether it runs. The
// service manager starts the driver with the system: give it `wait` tenths of a second.
QUERY_SERVICE_CONFIGA* Service(bool* running, int wait = 0) {
  static char buffer[4096];
  auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGA*>(buffer);
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
  SC_HANDLE service = OpenServiceA(manager, "Sorvane", SERVICE_QUERY_CONFIG | SERVICE_QUERY_STATUS);
  SERVICE_STATUS status = {};
  while (QueryServiceStatus(service, &status) && status.dwCurrentState != SERVICE_RUNNING &&
         wait-- > 0)
    Sleep(100);
  *running = status.dwCurrentState == SERVICE_RUNNING;
  DWORD needed;
  bool found = service && QueryServiceConfigA(service, config, sizeof buffer, &needed);
  CloseServiceHandle(service);
  CloseServiceHandle(manager);
  return found ? config : nullptr;
}

// Points the service at another driver file and restarts it; true when it runs.
bool RunDriver(const std::string& path) {
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
  SC_HANDLE service = OpenServiceA(manager, "Sorvane", SERVICE_ALL_ACCESS);
  SERVICE_STATUS status = {};
  ControlService(service, SERVICE_CONTROL_STOP, &status);
  for (int i = 0;
       i < 100 && QueryServiceStatus(service, &status) && status.dwCurrentState != SERVICE_STOPPED;
       ++i)
    Sleep(100);
  bool started =
      ChangeServiceConfigA(service, SERVICE_NO_CHANGE, SERVICE_NO_CHANGE, SERVICE_NO_CHANGE,
                           path.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr) &&
      StartServiceA(service, 0, nullptr);
  CloseServiceHandle(service);
  CloseServiceHandle(manager);
  return started;
}

// With SORV_TEST_DRIVER naming a driver file beside the test, every test runs against
// that driver; the installed one comes back afterwards.
class DriverUnderTest : public ::testing::Environment {
  std::string installed_;

  void SetUp() override {
    char name[MAX_PATH], self[MAX_PATH];
    if (!GetEnvironmentVariableA("SORV_TEST_DRIVER", name, MAX_PATH)) return;
    bool running;
    QUERY_SERVICE_CONFIGA* config = Service(&running, 300);
    ASSERT_TRUE(config) << "the driver is not installed";
    installed_ = config->lpBinaryPathName;
    std::string folder(self, GetModuleFileNameA(nullptr, self, MAX_PATH));
    folder.resize(folder.find_last_of('\\') + 1);
    ASSERT_TRUE(RunDriver(folder + name)) << folder + name;
  }
  void TearDown() override {
    if (!installed_.empty()) {
      EXPECT_TRUE(RunDriver(installed_));
    }
  }
};
const auto* const kDriverUnderTest = ::testing::AddGlobalTestEnvironment(new DriverUnderTest);

std::string MountLine(const std::string& path, const char* drive = "Q:") {
  return "/mount 0 \"" + path + "\" " + drive + " " + kKey;
}

class Driver : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    bool running;
    ASSERT_TRUE(Service(&running, 300) && running) << "the driver is not installed";
  }
  std::string container = Temp("sorv mount test.cvd");

  void SetUp() override {
    for (const char* drive : {"Q:", "R:", "S:"})
      DefineDosDeviceA(DDD_REMOVE_DEFINITION, drive, nullptr);
  }
  void TearDown() override {
    if (!Target("Q:").empty()) Mount("/kill Q:");
    Mount("/unlockfile 0 R:");
    DeleteFileA(container.c_str());
  }
};

TEST_F(Driver, MountedSectorsAreEncryptedBehindTheHeader) {
  const std::vector<uint8_t> original = MakeContainer(container);
  ASSERT_EQ(Mount(MountLine(container)), 0);
  EXPECT_EQ(Target("Q:"), "\\Device\\SorvDisk\\SorvDisk0");
  HANDLE volume = OpenVolume("\\\\.\\Q:");
  ASSERT_NE(volume, INVALID_HANDLE_VALUE);

  // The disk queries a file system asks; a short output buffer is refused.
  GET_LENGTH_INFORMATION length = {};
  DISK_GEOMETRY geometry = {};
  PARTITION_INFORMATION partition = {};
  PARTITION_INFORMATION_EX partitionEx = {};
  STORAGE_PROPERTY_QUERY query = {StorageDeviceProperty, PropertyStandardQuery, {}};
  STORAGE_DEVICE_DESCRIPTOR device = {};
  struct {
    USHORT length;
    WCHAR name[64];
  } name = {};
  const DWORD queryName = CTL_CODE('M', 2, METHOD_BUFFERED, FILE_ANY_ACCESS);  // mount manager's
  EXPECT_TRUE(Control(volume, IOCTL_DISK_GET_LENGTH_INFO, nullptr, 0, &length, sizeof length));
  EXPECT_TRUE(
      Control(volume, IOCTL_DISK_GET_DRIVE_GEOMETRY, nullptr, 0, &geometry, sizeof geometry));
  EXPECT_TRUE(
      Control(volume, IOCTL_DISK_GET_PARTITION_INFO, nullptr, 0, &partition, sizeof partition));
  EXPECT_TRUE(Control(volume, IOCTL_DISK_GET_PARTITION_INFO_EX, nullptr, 0, &partitionEx,
                      sizeof partitionEx));
  EXPECT_TRUE(
      Control(volume, IOCTL_STORAGE_QUERY_PROPERTY, &query, sizeof query, &device, sizeof device));
  EXPECT_TRUE(Control(volume, queryName, nullptr, 0, &name, sizeof name));
  EXPECT_EQ(length.Length.QuadPart, static_cast<LONGLONG>(kDiskBytes));
  EXPECT_EQ(partition.PartitionLength.QuadPart, length.Length.QuadPart);
  EXPECT_EQ(partitionEx.PartitionLength.QuadPart, length.Length.QuadPart);
  EXPECT_EQ(geometry.BytesPerSector, 512u);
  EXPECT_EQ(device.BusType, BusTypeFileBackedVirtual);
  EXPECT_EQ(std::wstring(name.name, name.length / 2), L"\\Device\\SorvDisk\\SorvDisk0");
  EXPECT_FALSE(Control(volume, IOCTL_DISK_GET_DRIVE_GEOMETRY, nullptr, 0, &geometry, 8));
  EXPECT_FALSE(Control(volume, IOCTL_STORAGE_QUERY_PROPERTY, &query, 4, &device, sizeof device));
  EXPECT_FALSE(Control(volume, queryName, nullptr, 0, &name, 1));
  // Too short for the name: its length, and no byte more than the driver wrote.
  uint8_t shortName[4] = {0xcc, 0xcc, 0xcc, 0xcc};
  DWORD returned = 0;
  EXPECT_FALSE(DeviceIoControl(volume, queryName, shortName, 4, shortName, 4, &returned, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MORE_DATA));
  EXPECT_EQ(returned, 4u);
  EXPECT_EQ(std::vector<uint8_t>(shortName, shortName + 4), (std::vector<uint8_t>{52, 0, 0, 0}));
  EXPECT_TRUE(Control(volume, IOCTL_DISK_IS_WRITABLE, nullptr, 0));

  // Sectors at the start, in the middle and at the very end of the disk.
  std::vector<uint8_t> plain(8192), back(plain.size());
  for (size_t i = 0; i < plain.size(); ++i) plain[i] = static_cast<uint8_t>(i * 7 + i / 512);
  const uint64_t offsets[] = {0, 4 << 20, kDiskBytes - plain.size()};
  for (uint64_t offset : offsets) EXPECT_TRUE(Transfer(volume, true, offset, plain.data(), 8192));
  const uint8_t otherKey[32] = {'o', 't', 'h', 'e', 'r'};
  EXPECT_FALSE(Control(volume, kIoctlSetKey, otherKey, sizeof otherKey)) << "a second key";
  for (uint64_t offset : offsets) {
    EXPECT_TRUE(Transfer(volume, false, offset, back.data(), 8192));
    EXPECT_EQ(back, plain) << "at " << offset;
  }
  EXPECT_FALSE(Transfer(volume, false, kDiskBytes, back.data(), 512)) << "past the end";
  // The file is longer than the disk by its header: a bound taken from the file would let
  // this write through and grow the container.
  EXPECT_FALSE(Transfer(volume, true, kDiskBytes, plain.data(), 512)) << "a write past the end";
  EXPECT_FALSE(Transfer(volume, false, 100, back.data(), 512)) << "not on a sector";
  EXPECT_TRUE(ReadWhole(container).empty()) << "the mounted file is held without sharing";
  CloseHandle(volume);
  EXPECT_EQ(Mount("/umount Q:\\"), 0);
  EXPECT_EQ(Target("Q:"), "");

  const std::vector<uint8_t> stored = ReadWhole(container);
  ASSERT_EQ(stored.size(), kFileBytes);
  EXPECT_TRUE(std::equal(stored.begin(), stored.begin() + 1024, original.begin()));
  for (uint64_t offset : offsets) {
    std::vector<uint8_t> cipher(stored.begin() + 1024 + offset,
                                stored.begin() + 1024 + offset + plain.size());
    EXPECT_NE(cipher, plain);
    for (size_t at = 0; at < cipher.size(); at += 512)
      DecryptSector((offset + at) / 512, cipher.data() + at);
    EXPECT_EQ(cipher, plain) << "at " << offset;
  }
}

TEST_F(Driver, RefusedMountsLeaveTheLettersAsTheyWere) {
  EXPECT_EQ(Mount(MountLine(Temp("no such.cvd"))), -1);
  EXPECT_EQ(Mount(MountLine("")), -1) << "the empty path";
  EXPECT_EQ(Target("Q:"), "");
  MakeContainer(container);
  const std::string drive = Target("C:");
  EXPECT_EQ(Mount(MountLine(container, "C:")), -1);
  EXPECT_EQ(Target("C:"), drive);
  ASSERT_EQ(Mount(MountLine(container)), 0) << "the driver did not take the file";
  EXPECT_EQ(Mount(MountLine(container)), -1) << "a letter already mounted";
  const std::string other = Temp("sorv other.cvd");
  MakeContainer(other);
  EXPECT_EQ(Mount(MountLine(other, "S:")), -1) << "a device already in use";
  EXPECT_EQ(Target("S:"), "");
  DeleteFileA(other.c_str());
  EXPECT_EQ(Mount("/kill Q:\\"), 0);
  EXPECT_EQ(Target("Q:"), "");
  EXPECT_EQ(ReadWhole(container).size(), kFileBytes) << "the container is free again";
  EXPECT_EQ(Mount("/umount Q:"), -1) << "nothing mounted";
}

TEST_F(Driver, LockFileGuardsTheContainerUntilUnlock) {
  const std::string path = Temp("sorvplain.cvd");  // no blank: quoted or not, the same
  MakeContainer(path);
  for (const std::string& word : {path, "\"" + path + "\""}) {
    ASSERT_EQ(Mount("/lockfile 0 R: " + word), 0);
    EXPECT_EQ(Target("R:"), "") << "the temporary letter is gone";
    const DWORD anyShare = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    EXPECT_EQ(CreateFileA(path.c_str(), GENERIC_READ, anyShare, nullptr, OPEN_EXISTING, 0, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_FALSE(DeleteFileA(path.c_str()));
    ASSERT_EQ(Mount("/unlockfile 0 R:"), 0);
    EXPECT_EQ(Target("R:"), "");
    EXPECT_EQ(ReadWhole(path).size(), kFileBytes);
  }
  EXPECT_EQ(Mount("/lockfile 0 C: " + path), -1) << "a letter in use";
  EXPECT_EQ(ReadWhole(path).size(), kFileBytes);
  DeleteFileA(path.c_str());
}

TEST_F(Driver, RefusesMalformedRequests) {
  ASSERT_TRUE(DefineDosDeviceA(DDD_RAW_TARGET_PATH, "S:", "\\Device\\SorvDisk\\SorvDisk1"));
  HANDLE volume = OpenVolume("\\\\.\\S:");
  ASSERT_NE(volume, INVALID_HANDLE_VALUE);
  uint8_t key[32] = {1}, sector[512], unterminated[256];
  memset(unterminated, 'a', sizeof unterminated);
  std::vector<uint8_t> past(40, 0);
  past[16] = 200;  // a name length past the buffer
  EXPECT_FALSE(Control(volume, kIoctlSetKey, key, sizeof key)) << "set-key before open-file";
  EXPECT_FALSE(Transfer(volume, false, 0, sector, 512)) << "read before open-file";
  EXPECT_FALSE(Control(volume, IOCTL_DISK_GET_LENGTH_INFO, nullptr, 0, sector, 8));
  EXPECT_FALSE(Control(volume, kIoctlOpenFile, past.data(), 10)) << "a short request";
  EXPECT_FALSE(Control(volume, kIoctlOpenFile, nullptr, 0));
  EXPECT_FALSE(Control(volume, kIoctlOpenFile, past.data(), static_cast<DWORD>(past.size())));
  EXPECT_FALSE(Control(volume, kIoctlLockFile, unterminated, sizeof unterminated));
  EXPECT_FALSE(Control(volume, 0x8000E014, nullptr, 0)) << "unknown request";

  // After all that the device still serves a disk, once it has its key.
  MakeContainer(container, 64 << 10);
  std::vector<uint8_t> open = OpenFileRequest(container.c_str());
  EXPECT_TRUE(Control(volume, kIoctlOpenFile, open.data(), static_cast<DWORD>(open.size())));
  EXPECT_FALSE(Transfer(volume, false, 0, sector, 512)) << "no sector moves before the key";
  EXPECT_FALSE(Control(volume, kIoctlSetKey, key, 16)) << "a short key";
  EXPECT_TRUE(Control(volume, kIoctlSetKey, key, sizeof key));
  EXPECT_TRUE(Transfer(volume, false, 0, sector, 512));
  EXPECT_FALSE(Transfer(volume, false, 0, nullptr, 512)) << "a read without a buffer";
  EXPECT_FALSE(Transfer(volume, true, 0, nullptr, 512)) << "a write without a buffer";
  EXPECT_TRUE(Control(volume, kIoctlCloseFile, nullptr, 0));
  EXPECT_TRUE(Control(volume, kIoctlCloseFile, nullptr, 0)) << "closing twice is harmless";
  CloseHandle(volume);
  DefineDosDeviceA(DDD_REMOVE_DEFINITION, "S:", nullptr);
}

// Transfers whose sectors do not divide evenly among the threads that share them (the
// split build splits from two sectors on, the others from 1 MiB on): each moves exactly
// its sectors, and a read fills the caller's buffer and no byte beside it. Every range
// has an untouched sector before and after it.
TEST_F(Driver, UnevenlySplitTransfersMoveExactlyTheirSectors) {
  MakeContainer(container);
  ASSERT_EQ(Mount(MountLine(container)), 0);
  HANDLE volume = OpenVolume("\\\\.\\Q:");
  ASSERT_NE(volume, INVALID_HANDLE_VALUE);
  const struct {
    uint64_t first;
    DWORD sectors;
  } ranges[] = {{1, 3}, {5, 5}, {11, 7}, {19, 4097}};  // 4097: 2 MiB and a sector
  const DWORD guard = 4096;
  auto* area = static_cast<uint8_t*>(
      VirtualAlloc(nullptr, 4097 * 512 + 2 * guard, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  ASSERT_TRUE(area);
  auto pattern = [](uint64_t sector, size_t i) { return static_cast<uint8_t>(sector * 7 + i + 1); };
  for (const auto& range : ranges) {
    const DWORD bytes = range.sectors * 512;
    std::vector<uint8_t> data(bytes);
    for (size_t i = 0; i < bytes; ++i) data[i] = pattern(range.first + i / 512, i % 512);
    EXPECT_TRUE(Transfer(volume, true, range.first * 512, data.data(), bytes)) << range.sectors;
    memset(area, 0xcc, bytes + 2 * guard);
    EXPECT_TRUE(Transfer(volume, false, range.first * 512, area + guard, bytes)) << range.sectors;
    EXPECT_TRUE(std::equal(data.begin(), data.end(), area + guard)) << range.sectors;
    EXPECT_TRUE(std::all_of(area, area + guard, [](uint8_t b) { return b == 0xcc; }));
    EXPECT_TRUE(std::all_of(area + guard + bytes, area + 2 * guard + bytes, [](uint8_t b) {
      return b == 0xcc;
    })) << range.sectors;
  }
  VirtualFree(area, 0, MEM_RELEASE);
  CloseHandle(volume);
  ASSERT_EQ(Mount("/umount Q:"), 0);

  // In the file: the ranges' sectors decrypt to what was written, the others are the
  // zeros the container was made with.
  const std::vector<uint8_t> stored = ReadWhole(container);
  ASSERT_EQ(stored.size(), kFileBytes);
  for (uint64_t sector = 0; sector < 4200; ++sector) {
    uint8_t plain[512], expected[512] = {};
    memcpy(plain, &stored[1024 + sector * 512], 512);
    bool written = false;
    for (const auto& range : ranges)
      written |= sector >= range.first && sector < range.first + range.sectors;
    if (written) {
      DecryptSector(sector, plain);
      for (size_t i = 0; i < 512; ++i) expected[i] = pattern(sector, i);
    }
    ASSERT_EQ(memcmp(plain, expected, 512), 0)
        << "sector " << sector << (written ? "" : ", not written");
  }
}

// A handle to the symbolic link of that NT name, null when it cannot be opened.
HANDLE OpenLinkObject(const wchar_t* name) {
  const USHORT bytes = static_cast<USHORT>(wcslen(name) * 2);
  UNICODE_STRING string = {bytes, bytes, const_cast<wchar_t*>(name)};
  OBJECT_ATTRIBUTES attributes;
  InitializeObjectAttributes(&attributes, &string, OBJ_CASE_INSENSITIVE, nullptr, nullptr);
  static auto open = Export<NTSTATUS(NTAPI*)(HANDLE*, ACCESS_MASK, OBJECT_ATTRIBUTES*)>(
      "ntdll.dll", "NtOpenSymbolicLinkObject");
  HANDLE link = nullptr;
  return NT_SUCCESS(open(&link, 1 /* query */, &attributes)) ? link : nullptr;
}

// The letter the driver names for every logon session: one a device, never one that
// exists, and only its own removed.
TEST_F(Driver, LinksOneFreeLetterADeviceAndRemovesOnlyItsOwn) {
  ASSERT_TRUE(DefineDosDeviceA(DDD_RAW_TARGET_PATH, "S:", "\\Device\\SorvDisk\\SorvDisk1"));
  HANDLE volume = OpenVolume("\\\\.\\S:");
  ASSERT_NE(volume, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(DefineDosDeviceA(DDD_REMOVE_DEFINITION, "S:", nullptr));
  const std::string drive = Target("C:");
  struct Case {
    const char* letter;  // null: no input
    bool linked;
    const char* why;
  } cases[] = {
      {nullptr, false, "no letter"},
      {"1", false, "no letter"},
      {"C", false, "a letter in use"},
      {"t", true, "a free letter"},
      {"S", true, "a new letter replaces the old"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Control(volume, kIoctlLinkLetter, c.letter, c.letter ? 1 : 0), c.linked) << c.why;
  EXPECT_EQ(Target("C:"), drive);
  EXPECT_EQ(Target("T:"), "");
  EXPECT_EQ(Target("S:"), "\\Device\\SorvDisk\\SorvDisk1");
  EXPECT_TRUE(GetLogicalDrives() & (1u << ('S' - 'A')));
  // A letter in use refused, or the device's own asked again: it keeps its letter.
  EXPECT_FALSE(Control(volume, kIoctlLinkLetter, "C", 1));
  EXPECT_EQ(Target("S:"), "\\Device\\SorvDisk\\SorvDisk1");
  EXPECT_TRUE(Control(volume, kIoctlLinkLetter, "s", 1));
  EXPECT_EQ(Target("S:"), "\\Device\\SorvDisk\\SorvDisk1");
  // Its own letter asked again while another holds the link open, so that a link made
  // temporary keeps its name and a new one of that name is refused: the letter stays.
  HANDLE held = OpenLinkObject(L"\\??\\S:");
  ASSERT_TRUE(held);
  EXPECT_TRUE(Control(volume, kIoctlLinkLetter, "S", 1));
  CloseHandle(held);
  EXPECT_EQ(Target("S:"), "\\Device\\SorvDisk\\SorvDisk1");
  EXPECT_TRUE(Control(volume, kIoctlUnlinkLetter, nullptr, 0));
  EXPECT_EQ(Target("S:"), "");

  // Another program's definition of the letter since is not the driver's to remove.
  ASSERT_TRUE(Control(volume, kIoctlLinkLetter, "S", 1));
  ASSERT_TRUE(DefineDosDeviceA(DDD_REMOVE_DEFINITION, "S:", nullptr));
  ASSERT_TRUE(DefineDosDeviceA(DDD_RAW_TARGET_PATH, "S:", "\\Device\\SorvDisk\\SorvDisk2"));
  EXPECT_TRUE(Control(volume, kIoctlUnlinkLetter, nullptr, 0));
  EXPECT_EQ(Target("S:"), "\\Device\\SorvDisk\\SorvDisk2");
  EXPECT_TRUE(Control(volume, kIoctlUnlinkLetter, nullptr, 0)) << "nothing left to remove";
  CloseHandle(volume);
  DefineDosDeviceA(DDD_REMOVE_DEFINITION, "S:", nullptr);
}

// Every device carries the same DACL from the start, read back through a handle that
// may only read it. Wine keeps no descriptor for a device: it reports none.
TEST_F(Driver, EveryDeviceLetsEveryoneOnlyTraverse) {
  for (char n = '0'; n < '0' + static_cast<char>(kDeviceCount); ++n) {
    const std::string device = std::string("\\\\?\\GLOBALROOT\\Device\\SorvDisk\\SorvDisk") + n;
    HANDLE handle = CreateFileA(device.c_str(), READ_CONTROL, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE) << device;
    alignas(8) BYTE descriptor[1024];
    DWORD needed;
    const BOOL read = GetKernelObjectSecurity(handle, DACL_SECURITY_INFORMATION, descriptor,
                                              sizeof descriptor, &needed);
    CloseHandle(handle);
    ASSERT_TRUE(read) << device;
    BOOL present = FALSE, defaulted;
    PACL dacl = nullptr;
    ASSERT_TRUE(GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted));
    if (!present) GTEST_SKIP() << "the system reports no descriptor for a device";
    ASSERT_TRUE(dacl) << device;
    EXPECT_EQ(testsupport::ReadGrants(reinterpret_cast<const uint8_t*>(dacl), dacl->AclSize),
              testsupport::kDeviceGrants)
        << device;
  }
}

TEST_F(Driver, CommandWordsAreSplitExactly) {
  EXPECT_EQ(Mount("/unlockfile 0 R:"), 0) << "the line the others vary";
  for (const char* line :
       {"/unlockfile  0 R:", "/unlockfile 0 R: ", " /unlockfile 0 R:", "/UNLOCKFILE 0 R:",
        "unlockfile 0 R:", "/unlockfile 0", "", "/unlockfile 0 R: S:", "1 2 3 4 5 6 7 8 9 10 11"})
    EXPECT_EQ(Mount(line), -1) << "[" << line << "]";
  MakeContainer(container);
  EXPECT_EQ(Mount("/mount 0 " + container + " Q: " + kKey), -1) << "unquoted, a blank splits";
  EXPECT_EQ(Target("Q:"), "");
  // Drive words that are no letter and colon define nothing.
  const DWORD drives = GetLogicalDrives();
  EXPECT_EQ(Mount("/mount 0 \"" + container + "\"  " + kKey), -1) << "the drive word \" \"";
  EXPECT_EQ(Mount("/mount 0 \"" + container + "\" Q " + kKey), -1);
  EXPECT_EQ(Mount("/lockfile 0 0: \"" + container + "\""), -1);
  EXPECT_EQ(Mount("/unlockfile  0"), -1) << "the drive word \"0\"";
  for (const char* drive : {" :", "Q:", "0:"}) EXPECT_EQ(Target(drive), "") << drive;
  EXPECT_EQ(GetLogicalDrives(), drives);
  EXPECT_EQ(ReadWhole(container).size(), kFileBytes) << "nobody holds the container";
}

// Starts mount_client with the arguments.
HANDLE StartProgram(const std::string& line) {
  PROCESS_INFORMATION process = {};
  EXPECT_TRUE(testsupport::StartProcess(std::wstring(line.begin(), line.end()), process));
  CloseHandle(process.hThread);
  return process.hProcess;
}

// Starts mount_client, which sends the command COUNT times and exits with the number
// of failures.
HANDLE StartClient(int count, const std::string& command) {
  SetEnvironmentVariableA("SORV_COMMAND", command.c_str());
  return StartProgram("mount_client.exe " + std::to_string(count));
}

DWORD Finish(HANDLE process) {
  DWORD code = 999;
  EXPECT_EQ(WaitForSingleObject(process, 120000), WAIT_OBJECT_0);
  GetExitCodeProcess(process, &code);
  CloseHandle(process);
  return code;
}

TEST_F(Driver, CommandsFromSeveralProcessesRunOneAfterTheOther) {
  HANDLE semaphore = CreateSemaphoreA(nullptr, 1, 1, "SorvMount");
  ASSERT_EQ(WaitForSingleObject(semaphore, 10000), WAIT_OBJECT_0);
  HANDLE waiting = StartClient(1, "/unlockfile 0 R:");
  EXPECT_EQ(WaitForSingleObject(waiting, 1500), static_cast<DWORD>(WAIT_TIMEOUT));
  ReleaseSemaphore(semaphore, 1, nullptr);
  EXPECT_EQ(Finish(waiting), 0u);
  CloseHandle(semaphore);

  // Two processes using the same temporary letter at once never collide.
  MakeContainer(container);
  HANDLE lock = StartClient(15, "/lockfile 0 R: \"" + container + "\"");
  HANDLE unlock = StartClient(15, "/unlockfile 0 R:");
  EXPECT_EQ(Finish(lock), 0u);
  EXPECT_EQ(Finish(unlock), 0u);
  EXPECT_EQ(Target("R:"), "");
}

// What the shell hears: the volume's arrivals and departures, by letter.
std::vector<std::string> g_heard;

LRESULT CALLBACK Listener(HWND window, UINT message, WPARAM event, LPARAM data) {
  const auto* volume = reinterpret_cast<const DEV_BROADCAST_VOLUME*>(data);
  if (message == WM_DEVICECHANGE && volume && volume->dbcv_devicetype == DBT_DEVTYP_VOLUME &&
      (event == DBT_DEVICEARRIVAL || event == DBT_DEVICEREMOVECOMPLETE)) {
    std::string heard = event == DBT_DEVICEARRIVAL ? "+" : "-";
    for (char letter = 'A'; letter <= 'Z'; ++letter)
      if (volume->dbcv_unitmask & (1u << (letter - 'A'))) heard += letter;
    g_heard.push_back(heard);
  }
  return DefWindowProcA(window, message, event, data);
}

// The mounted drive is every program's, not only the one's that mounted it: another
// process sees the letter and reads the disk through it, and top-level windows (the
// shell's among them) hear it come and go.
TEST_F(Driver, AnotherProgramSeesAndReadsTheMountedDrive) {
  WNDCLASSA type = {};
  type.lpfnWndProc = Listener;
  type.hInstance = GetModuleHandleA(nullptr);
  type.lpszClassName = "SorvDriveListener";
  RegisterClassA(&type);
  HWND listener = CreateWindowA(type.lpszClassName, "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                nullptr, type.hInstance, nullptr);
  ASSERT_TRUE(listener);
  g_heard.clear();
  MakeContainer(container);
  ASSERT_EQ(Mount(MountLine(container)), 0);
  HANDLE volume = OpenVolume("\\\\.\\Q:");
  ASSERT_NE(volume, INVALID_HANDLE_VALUE);
  std::vector<uint8_t> sector(512, 0xa7);
  EXPECT_TRUE(Transfer(volume, true, 0, sector.data(), 512));
  CloseHandle(volume);
  EXPECT_EQ(Finish(StartProgram("mount_client.exe read Q:")), 1000u + 0xa7);
  EXPECT_EQ(Mount("/umount Q:"), 0);
  EXPECT_EQ(Finish(StartProgram("mount_client.exe read Q:")), 1u) << "the letter is gone";
  ASSERT_EQ(Mount(MountLine(container)), 0);
  EXPECT_EQ(Mount("/kill Q:"), 0);
  EXPECT_EQ(Finish(StartProgram("mount_client.exe read Q:")), 1u);
  EXPECT_EQ(g_heard, (std::vector<std::string>{"+Q", "-Q", "+Q", "-Q"}));
  DestroyWindow(listener);
}

// 1 MiB writes and reads over the first 8 MiB of a disk in a thread of its own, each
// read checked against the write before it, until Stop or a failure (done, then).
struct BusyDisk {
  std::atomic<bool> done{false};
  std::atomic<int> transfers{0}, wrong{0};
  std::thread thread;

  explicit BusyDisk(HANDLE volume)
      : thread([this, volume] {
          std::vector<uint8_t> data(1 << 20), back(data.size());
          for (uint64_t i = 0; !done; ++i, transfers += 2) {
            const uint64_t offset = (i % 8) << 20;
            memset(data.data(), static_cast<int>(i), data.size());
            if (!Transfer(volume, true, offset, data.data(), 1 << 20) ||
                !Transfer(volume, false, offset, back.data(), 1 << 20))
              break;
            if (back != data) ++wrong;
          }
          done = true;
        }) {
    for (int wait = 0; wait < 10000 && transfers < 4 && !done; ++wait) Sleep(1);
  }
  void Stop() {
    done = true;
    thread.join();
  }
};

// Lock-file takes no lock of the disk's: were the guarded file on the mounted drive,
// opening it would page through the disk while the request still ran.
TEST_F(Driver, LockFileCompletesWhileTheMountedDiskIsBusy) {
  MakeContainer(container);
  const std::string guarded = Temp("sorvguarded.cvd");
  MakeContainer(guarded, 64 << 10);
  ASSERT_EQ(Mount(MountLine(container)), 0);
  HANDLE volume = OpenVolume("\\\\.\\Q:");
  ASSERT_NE(volume, INVALID_HANDLE_VALUE);
  BusyDisk busy(volume);
  const int before = busy.transfers;
  HANDLE lock = StartClient(5, "/lockfile 0 R: \"" + guarded + "\"");
  EXPECT_EQ(Finish(lock), 0u);
  EXPECT_TRUE(ReadWhole(guarded).empty()) << "the file is guarded";
  EXPECT_FALSE(busy.done) << "the transfers failed";
  EXPECT_GT(busy.transfers, before) << "the disk was busy meanwhile";
  busy.Stop();
  CloseHandle(volume);
  EXPECT_EQ(Mount("/unlockfile 0 R:"), 0);
  EXPECT_EQ(ReadWhole(guarded).size(), 64u << 10);
  DeleteFileA(guarded.c_str());
}

// Flushes of the disk call the container's file system outside the disk's lock, and
// leave the caller's thread when transfers would: they complete while transfers run.
TEST_F(Driver, FlushesCompleteWhileTransfersRun) {
  MakeContainer(container);
  ASSERT_EQ(Mount(MountLine(container)), 0);
  HANDLE volume = OpenVolume("\\\\.\\Q:");
  ASSERT_NE(volume, INVALID_HANDLE_VALUE);
  BusyDisk busy(volume);
  const int before = busy.transfers;
  const DWORD start = GetTickCount();
  int flushes = 0;
  for (; busy.transfers < before + 6 && !busy.done && GetTickCount() - start < 20000; ++flushes)
    ASSERT_TRUE(FlushFileBuffers(volume)) << flushes;
  EXPECT_FALSE(busy.done) << "the transfers failed";
  EXPECT_GE(busy.transfers, before + 6) << "the disk was busy meanwhile";
  EXPECT_GT(flushes, 1);
  busy.Stop();
  EXPECT_EQ(busy.wrong, 0);
  CloseHandle(volume);
}

// Every container opened on a device is a new medium, told once to whoever checks, so
// no file system keeps what it read of the one before.
TEST_F(Driver, ANewContainerOnTheDeviceIsAMediaChangeToldOnce) {
  const std::string other = Temp("sorv other.cvd");
  MakeContainer(container);
  MakeContainer(other);
  ULONG before = 0;
  for (const std::string& path : {container, other}) {
    ASSERT_EQ(Mount(MountLine(path)), 0);
    HANDLE volume = OpenVolume("\\\\.\\Q:");
    ULONG changes = 0;
    EXPECT_FALSE(Control(volume, IOCTL_STORAGE_CHECK_VERIFY, nullptr, 0, &changes, sizeof changes));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MEDIA_CHANGED)) << path;
    for (DWORD code : {IOCTL_DISK_CHECK_VERIFY, IOCTL_STORAGE_CHECK_VERIFY,
                       IOCTL_STORAGE_CHECK_VERIFY2})
      EXPECT_TRUE(Control(volume, code, nullptr, 0, &changes, sizeof changes)) << code;
    EXPECT_GT(changes, before) << "the count of changes goes up";
    before = changes;
    CloseHandle(volume);
    EXPECT_EQ(Mount("/umount Q:"), 0);
  }
  DeleteFileA(other.c_str());
}

// The service library: removed, installed, replaced, and a file that is no driver.
// Leaves the driver installed.
TEST_F(Driver, KeeperRemovesInstallsAndReplacesTheService) {
  static auto create = Export<int(__stdcall*)(const char*)>("SorvKeeper.dll", "SRCreateService");
  static auto remove = Export<int(__stdcall*)()>("SorvKeeper.dll", "SRSorvKeeper");
  bool running;
  QUERY_SERVICE_CONFIGA* installed = Service(&running);
  ASSERT_TRUE(installed);
  const std::string driver = installed->lpBinaryPathName;
  EXPECT_EQ(remove(), 1);
  EXPECT_EQ(Service(&running), nullptr);
  EXPECT_EQ(remove(), -1) << "nothing installed";
  for (int call = 0; call < 2; ++call) {  // the second call replaces the registration
    EXPECT_EQ(create(driver.c_str()), 1);
    QUERY_SERVICE_CONFIGA* config = Service(&running);
    ASSERT_TRUE(config && running);
    EXPECT_STREQ(config->lpDisplayName, "Sorvmount title");
    EXPECT_EQ(config->lpBinaryPathName, driver);
    EXPECT_EQ(config->dwServiceType, static_cast<DWORD>(SERVICE_KERNEL_DRIVER));
    EXPECT_EQ(config->dwStartType, static_cast<DWORD>(SERVICE_SYSTEM_START));
  }

  const std::string bogus = Temp("not a driver.sys");
  HANDLE file = CreateFileA(bogus.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  CloseHandle(file);
  std::string message;
  std::thread answer([&] {  // the message box the failed start shows
    auto box = testsupport::WaitForBox(GetCurrentProcessId(), L"StartService Error", 30000);
    message.assign(box.text.begin(), box.text.end());  // ASCII
    box.Answer(IDOK);
  });
  EXPECT_EQ(create(bogus.c_str()), -1);
  answer.join();
  EXPECT_EQ(message.rfind("Start SorvaneService error.Code:", 0), 0u) << message;
  EXPECT_NE(Service(&running), nullptr) << "registered all the same";
  EXPECT_FALSE(running);
  EXPECT_EQ(create(driver.c_str()), 1);
  DeleteFileA(bogus.c_str());
}

}  // namespace
