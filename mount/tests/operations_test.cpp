// The five operations step by step against a scripted device: result codes, what
// each failure undoes, the diagnostic lines.
#include <gtest/gtest.h>

#include "operations.h"
#include "scripted_drive.h"
#include "sorvdisk_ioctl.h"

#include <winioctl.h>

namespace {

using ::testing::internal::CaptureStderr;
using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStderr;
using ::testing::internal::GetCapturedStdout;

class Operations : public ::testing::Test {
 protected:
  ScriptedDrive drive;
  std::string out, err;

  int Run(const char* line) {
    CaptureStdout();
    CaptureStderr();
    int result = RunCommand(drive, line);
    err = GetCapturedStderr();
    out = GetCapturedStdout();
    EXPECT_EQ(drive.openHandles, 0) << "every handle closed";
    return result;
  }
  bool Defined(const char* name) { return drive.defined.count(name) != 0; }
};

const char kMount[] = "/mount 0 \"C:\\my dir\\a.cvd\" Q: ABCDEFGHIJKLMNOPQRSTUVWX";

TEST_F(Operations, MountDefinesTheLetterAndHandsOverFileAndKey) {
  EXPECT_EQ(Run(kMount), 0);
  EXPECT_EQ(drive.defined["Q:"], "\\Device\\SorvDisk\\SorvDisk0");
  ASSERT_EQ(drive.Codes(), (std::vector<DWORD>{kIoctlOpenFile, kIoctlSetKey}));
  const std::vector<uint8_t>& open = drive.sent[0].input;
  ASSERT_EQ(open.size(), 4 + 15 + 23u);
  EXPECT_EQ(std::string(open.begin() + 18, open.begin() + 18 + 19), "\\??\\C:\\my dir\\a.cvd");
  const std::vector<uint8_t>& key = drive.sent[1].input;
  ASSERT_EQ(key.size(), 32u);
  EXPECT_EQ(std::string(key.begin(), key.begin() + 16), "ABCDEFGHIJKLMNOP");
  EXPECT_EQ(out, "DeviceName:[\\Device\\SorvDisk\\SorvDisk0]\nIoControl SetKey : OK.\n");
  EXPECT_EQ(err, "");
}

TEST_F(Operations, MountUsesTheDeviceNumberGiven) {
  EXPECT_EQ(Run("/mount 2 C:\\a.cvd Q: key"), 0);
  EXPECT_EQ(drive.defined["Q:"], "\\Device\\SorvDisk\\SorvDisk2");
}

TEST_F(Operations, MountOntoAnExistingLetterLeavesItAlone) {
  drive.existing.insert('Q');
  EXPECT_EQ(Run(kMount), -1);
  EXPECT_TRUE(drive.sent.empty());
  EXPECT_FALSE(Defined("Q:"));
  EXPECT_EQ(err.rfind("Q: ", 0), 0u) << err;  // the busy error, with the drive name
  // A definition that cannot be opened is not shadowed either.
  drive.existing.clear();
  drive.unopenable.insert('Q');
  drive.calls.clear();
  EXPECT_EQ(Run(kMount), -1);
  EXPECT_EQ(drive.calls, (std::vector<std::string>{"open \\\\.\\Q:"}));
}

TEST_F(Operations, MountFailuresUndoWhatWasDone) {
  drive.failDefine = ERROR_ACCESS_DENIED;
  EXPECT_EQ(Run(kMount), -1);
  EXPECT_TRUE(drive.sent.empty());
  drive.failDefine = 0;

  drive.failOpen = ERROR_FILE_NOT_FOUND;
  EXPECT_EQ(Run(kMount), -1);
  EXPECT_FALSE(Defined("Q:"));
  EXPECT_EQ(drive.calls.back(), "remove Q:");
  drive.failOpen = 0;

  drive.failSend[kIoctlOpenFile] = ERROR_FILE_NOT_FOUND;  // the driver cannot open the file
  EXPECT_EQ(Run(kMount), -1);
  EXPECT_FALSE(Defined("Q:"));
  EXPECT_EQ(err.rfind("SorvDisk: ", 0), 0u) << err;
  EXPECT_EQ(drive.Codes(), (std::vector<DWORD>{kIoctlOpenFile}));
}

TEST_F(Operations, MountWhoseKeyIsRefusedIsUndone) {
  drive.failSend[kIoctlSetKey] = ERROR_INVALID_PARAMETER;
  EXPECT_EQ(Run(kMount), -1);
  EXPECT_EQ(drive.Codes(), (std::vector<DWORD>{kIoctlOpenFile, kIoctlSetKey, kIoctlCloseFile}));
  EXPECT_FALSE(Defined("Q:"));
  EXPECT_NE(out.find("IoControl SetKey : error.\n"), std::string::npos);
}

class Unmount : public Operations {
 protected:
  void SetUp() override { drive.defined["Q:"] = "\\Device\\SorvDisk\\SorvDisk0"; }
};

TEST_F(Unmount, RunsItsFourRequestsAndRemovesTheLetter) {
  EXPECT_EQ(Run("/umount Q:\\"), 0);
  EXPECT_EQ(drive.Codes(), (std::vector<DWORD>{FSCTL_LOCK_VOLUME, kIoctlCloseFile,
                                               FSCTL_DISMOUNT_VOLUME, FSCTL_UNLOCK_VOLUME}));
  EXPECT_FALSE(Defined("Q:"));
  EXPECT_EQ(err, "");
}

TEST_F(Unmount, EachFailingStepHasItsCode) {
  struct Case {
    DWORD failing;
    int result;
    size_t requestsSent;
  };
  for (Case c : {Case{FSCTL_LOCK_VOLUME, -2, 1}, Case{kIoctlCloseFile, -3, 2},
                 Case{FSCTL_DISMOUNT_VOLUME, -4, 3}, Case{FSCTL_UNLOCK_VOLUME, -5, 4}}) {
    SCOPED_TRACE(c.result);
    drive.sent.clear();
    drive.failSend = {{c.failing, ERROR_ACCESS_DENIED}};
    EXPECT_EQ(Run("/umount Q:"), c.result);
    EXPECT_EQ(drive.sent.size(), c.requestsSent);
    EXPECT_TRUE(Defined("Q:")) << "the letter stays";
    EXPECT_EQ(err.empty(), c.result == -2) << "a refused lock is not reported";
    if (c.result == -3) {
      EXPECT_EQ(err.rfind("SorvDisk: ", 0), 0u);
    } else if (c.result <= -4) {
      EXPECT_EQ(err.rfind("Q: ", 0), 0u);
    }
  }
  drive.failSend.clear();
  drive.failRemove = ERROR_ACCESS_DENIED;
  EXPECT_EQ(Run("/umount Q:"), -6);
}

TEST_F(Unmount, NothingToOpenIsMinusOneUnreported) {
  drive.defined.clear();
  EXPECT_EQ(Run("/umount Q:"), -1);
  EXPECT_EQ(err, "");
  EXPECT_TRUE(drive.sent.empty());
}

TEST_F(Unmount, AVolumeWithoutFileSystemNeedsNoDismount) {
  // Wine, and Windows for a raw volume, refuse the dismount as a missing function.
  drive.failSend[FSCTL_DISMOUNT_VOLUME] = ERROR_BAD_DEV_TYPE;
  EXPECT_EQ(Run("/umount Q:"), 0);
  drive.defined["Q:"] = "x";
  drive.failSend[FSCTL_DISMOUNT_VOLUME] = ERROR_INVALID_FUNCTION;
  EXPECT_EQ(Run("/kill Q:"), 0);
}

TEST_F(Unmount, OpenFilesStopTheUnmountButNotTheKill) {
  drive.failSend[FSCTL_LOCK_VOLUME] = ERROR_ACCESS_DENIED;  // files open on the drive
  EXPECT_EQ(Run("/umount Q:\\"), -2);
  EXPECT_EQ(drive.Codes(), (std::vector<DWORD>{FSCTL_LOCK_VOLUME}));
  EXPECT_TRUE(Defined("Q:"));
  drive.sent.clear();
  EXPECT_EQ(Run("/kill Q:\\"), 0);
  EXPECT_EQ(drive.Codes(), (std::vector<DWORD>{kIoctlCloseFile, FSCTL_DISMOUNT_VOLUME}));
  EXPECT_FALSE(Defined("Q:"));
}

TEST_F(Unmount, KillFailuresAreMinusOne) {
  for (DWORD failing : std::vector<DWORD>{kIoctlCloseFile, FSCTL_DISMOUNT_VOLUME}) {
    drive.failSend = {{failing, ERROR_ACCESS_DENIED}};
    EXPECT_EQ(Run("/kill Q:"), -1);
    EXPECT_TRUE(Defined("Q:"));
    EXPECT_FALSE(err.empty());
  }
  drive.failSend.clear();
  drive.failRemove = ERROR_ACCESS_DENIED;
  EXPECT_EQ(Run("/kill Q:"), -1);
  drive.defined.clear();
  drive.failRemove = 0;
  EXPECT_EQ(Run("/kill Q:"), -1);
  EXPECT_EQ(err.rfind("Q: ", 0), 0u);
}

TEST_F(Operations, LockFileUsesTheLetterOnlyForTheRequest) {
  EXPECT_EQ(Run("/lockfile 0 R: \"C:\\my dir\\a.cvd\""), 0);
  ASSERT_EQ(drive.Codes(), (std::vector<DWORD>{kIoctlLockFile}));
  const std::vector<uint8_t>& file = drive.sent[0].input;
  ASSERT_EQ(file.size(), 256u);
  EXPECT_STREQ(reinterpret_cast<const char*>(file.data()), "C:\\my dir\\a.cvd");
  EXPECT_FALSE(Defined("R:"));
  EXPECT_EQ(out,
            "from srlockfile...\ndrive letter: R\nFileName:C:\\my dir\\a.cvd\n"
            "DeviceName:[\\Device\\SorvDisk\\SorvDisk0]\nIoControlCode:[0x8000e00c]");
}

TEST_F(Operations, LockResultSaysWhetherTheLetterCameAndWent) {
  drive.failSend[kIoctlLockFile] = ERROR_SHARING_VIOLATION;
  EXPECT_EQ(Run("/lockfile 0 R: C:\\a.cvd"), 0) << "whatever the driver answered";
  EXPECT_FALSE(Defined("R:"));
  EXPECT_EQ(err.rfind("SorvDisk: ", 0), 0u);

  drive.existing.insert('R');
  drive.sent.clear();
  EXPECT_EQ(Run("/lockfile 0 R: C:\\a.cvd"), -1);
  EXPECT_TRUE(drive.sent.empty());
  drive.existing.clear();

  drive.failRemove = ERROR_ACCESS_DENIED;
  EXPECT_EQ(Run("/unlockfile 0 R:"), -1);
}

TEST_F(Operations, UnlockFileSendsNoInput) {
  EXPECT_EQ(Run("/unlockfile 0 R:"), 0);
  ASSERT_EQ(drive.Codes(), (std::vector<DWORD>{kIoctlUnlockFile}));
  EXPECT_TRUE(drive.sent[0].input.empty());
  EXPECT_EQ(out,
            "from srUnlockfile...\ndrive letter: R\n"
            "DeviceName:[\\Device\\SorvDisk\\SorvDisk0]\nIoControlCode:[0x8000e010]");
  EXPECT_FALSE(Defined("R:"));
}

TEST_F(Operations, LinesOffTheTableTouchNothing) {
  for (const char* line : {"", "/MOUNT 0 a Q: k", "/umount  Q:", "/lockfile 0 R:"}) {
    EXPECT_EQ(Run(line), -1);
    EXPECT_TRUE(drive.calls.empty()) << line;
    EXPECT_EQ(out + err, "");
  }
}

TEST(ReportLastError, WritesTheSystemTextOrTheCode) {
  CaptureStderr();
  SetLastError(ERROR_FILE_NOT_FOUND);
  ReportLastError("Q:");
  SetLastError(0x2000beef);  // a code the system has no text for
  ReportLastError("SorvDisk:");
  std::string err = GetCapturedStderr();
  EXPECT_EQ(err.rfind("Q: ", 0), 0u);
  EXPECT_GT(err.find('\n'), 4u) << "some text after the prefix";
  EXPECT_NE(err.find("SorvDisk: error 536919791\n"), std::string::npos) << err;
}

}  // namespace
