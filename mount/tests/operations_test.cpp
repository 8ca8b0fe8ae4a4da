// The five operations step by step against a scripted system: result codes, what
// each failure undoes, the diagnostic lines.
#include <gtest/gtest.h>
#include <windows.h>
#include <winioctl.h>

#include <functional>
#include <map>
#include <set>

#include "command.h"
#include "operations.h"
#include "sorvdisk_ioctl.h"

namespace {

// The system behind the operations, answering what the test chooses, including
// what Wine never gives (a volume lock refused).
struct ScriptedDrive : DriveSystem {
  std::set<char> existing, unopenable;         // letters there before the test
  std::map<std::string, std::string> defined;  // drive name -> device name
  std::map<DWORD, DWORD> failSend;             // request code -> its error
  DWORD failDefine = 0, failRemove = 0, failOpen = 0;
  std::vector<std::string> calls;  // define, remove and open, in order
  std::vector<DWORD> codes;        // the requests sent
  std::vector<std::vector<uint8_t>> inputs;
  int openHandles = 0;

  static bool Fail(DWORD error) {
    SetLastError(error);
    return false;
  }
  bool DefineDrive(const char* drive, const char* device) override {
    calls.push_back(std::string("define ") + drive);
    return failDefine ? Fail(failDefine) : (defined[drive] = device, true);
  }
  bool RemoveDrive(const char* drive) override {
    calls.push_back(std::string("remove ") + drive);
    return failRemove ? Fail(failRemove) : defined.erase(drive) || Fail(ERROR_FILE_NOT_FOUND);
  }
  bool DriveDefined(const char* drive) override {
    return existing.count(*drive) || unopenable.count(*drive) || defined.count(drive);
  }
  HANDLE OpenDrive(const char* volume) override {
    calls.push_back(std::string("open ") + volume);
    const char* drive = volume + 4;
    DWORD error = existing.count(*drive)     ? 0
                  : unopenable.count(*drive) ? ERROR_ACCESS_DENIED
                  : !defined.count(drive)    ? ERROR_FILE_NOT_FOUND
                                             : failOpen;
    if (error) return Fail(error), INVALID_HANDLE_VALUE;
    return reinterpret_cast<HANDLE>(static_cast<intptr_t>(0x100 + ++openHandles));
  }
  bool Send(HANDLE, DWORD code, const void* input, DWORD size) override {
    codes.push_back(code);
    const auto* bytes = static_cast<const uint8_t*>(input);
    inputs.emplace_back(bytes, bytes + (input ? size : 0));
    auto failure = failSend.find(code);
    return failure == failSend.end() || Fail(failure->second);
  }
  void CloseDrive(HANDLE) override { --openHandles; }
};

using namespace ::testing::internal;
using Script = std::function<void(ScriptedDrive&)>;

Script Refuse(DWORD code, DWORD error) {
  return [=](ScriptedDrive& d) { d.failSend[code] = error; };
}

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
  // A fresh device scripted for one row of a table.
  void Reset(const Script& script, bool mounted) {
    drive = ScriptedDrive();
    if (mounted) drive.defined["Q:"] = "\\Device\\SorvDisk\\SorvDisk0";
    if (script) script(drive);
  }
  void ExpectErr(const char* start) {  // "": nothing at all
    EXPECT_EQ(*start ? err.substr(0, strlen(start)) : err, start) << err;
  }
};

const char kMount[] = "/mount 0 \"C:\\my dir\\a.cvd\" Q: ABCDEFGHIJKLMNOPQRSTUVWX";

TEST_F(Operations, MountDefinesTheLetterAndHandsOverFileAndKey) {
  EXPECT_EQ(Run(kMount), 0);
  EXPECT_EQ(drive.defined["Q:"], "\\Device\\SorvDisk\\SorvDisk0");
  ASSERT_EQ(drive.codes, (std::vector<DWORD>{kIoctlOpenFile, kIoctlSetKey}));
  EXPECT_EQ(drive.inputs[0], OpenFileRequest("C:\\my dir\\a.cvd"));
  EXPECT_EQ(std::string(drive.inputs[1].begin(), drive.inputs[1].end()),
            "ABCDEFGHIJKLMNOP" + std::string(16, '\0'));
  EXPECT_EQ(out, "DeviceName:[\\Device\\SorvDisk\\SorvDisk0]\nIoControl SetKey : OK.\n");
  EXPECT_EQ(err, "");
  EXPECT_EQ(Run("/mount 2 C:\\a.cvd S: key"), 0);
  EXPECT_EQ(drive.defined["S:"], "\\Device\\SorvDisk\\SorvDisk2");
}

TEST_F(Operations, RefusedMountsUndoWhatTheyDid) {
  // The last call: never a define once the letter is found in use.
  struct Case {
    Script script;
    std::vector<DWORD> codes;
    const char *lastCall, *err;
    const char* line = kMount;
  };
  const Case cases[] = {
      // A drive word without its colon: the line names no operation and nothing is called.
      {nullptr, {}, "", "", "/mount 0 \"C:\\my dir\\a.cvd\" Q ABCDEFGHIJKLMNOPQRSTUVWX"},
      {[](ScriptedDrive& d) { d.existing.insert('Q'); }, {}, "open \\\\.\\Q:", "Q: "},
      {[](ScriptedDrive& d) { d.unopenable.insert('Q'); }, {}, "open \\\\.\\Q:", "Q: "},
      {[](ScriptedDrive& d) { d.failDefine = ERROR_ACCESS_DENIED; }, {}, "define Q:", "Q: "},
      {[](ScriptedDrive& d) { d.failOpen = ERROR_FILE_NOT_FOUND; }, {}, "remove Q:", "Q: "},
      {Refuse(kIoctlOpenFile, ERROR_FILE_NOT_FOUND), {kIoctlOpenFile}, "remove Q:", "SorvDisk: "},
      {Refuse(kIoctlSetKey, ERROR_INVALID_PARAMETER),
       {kIoctlOpenFile, kIoctlSetKey, kIoctlCloseFile},
       "remove Q:",
       "SorvDisk: "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    Reset(c.script, false);
    EXPECT_EQ(Run(c.line), -1);
    EXPECT_EQ(drive.codes, c.codes);
    EXPECT_EQ(drive.calls.empty() ? "" : drive.calls.back(), c.lastCall);
    EXPECT_TRUE(drive.defined.empty());
    ExpectErr(c.err);
  }
  EXPECT_NE(out.find("IoControl SetKey : error.\n"), std::string::npos);
}

TEST_F(Operations, EachUnmountStepHasItsCode) {
  const Script removeRefused = [](ScriptedDrive& d) { d.failRemove = ERROR_ACCESS_DENIED; };
  const DWORD denied = ERROR_ACCESS_DENIED;
  struct Case {
    const char* line;
    Script script;
    int result;
    size_t sent;
    const char* err;
    bool stays = true, mounted = true;
  };
  const Case cases[] = {
      {"/umount Q:\\", nullptr, 0, 4, "", false},
      // Wine, and Windows for a raw volume, refuse the dismount as a missing function.
      {"/umount Q:", Refuse(FSCTL_DISMOUNT_VOLUME, ERROR_BAD_DEV_TYPE), 0, 4, "", false},
      {"/umount Q:", Refuse(FSCTL_LOCK_VOLUME, denied), -2, 1, ""},  // files open
      {"/umount Q:", Refuse(kIoctlCloseFile, denied), -3, 2, "SorvDisk: "},
      {"/umount Q:", Refuse(FSCTL_DISMOUNT_VOLUME, denied), -4, 3, "Q: "},
      {"/umount Q:", Refuse(FSCTL_UNLOCK_VOLUME, denied), -5, 4, "Q: "},
      {"/umount Q:", removeRefused, -6, 4, "Q: "},
      {"/umount Q:", nullptr, -1, 0, "", false, false},
      {"/kill Q:\\", Refuse(FSCTL_LOCK_VOLUME, denied), 0, 2, "", false},  // takes no lock
      {"/kill Q:", Refuse(FSCTL_DISMOUNT_VOLUME, ERROR_INVALID_FUNCTION), 0, 2, "", false},
      {"/kill Q:", Refuse(kIoctlCloseFile, denied), -1, 1, "SorvDisk: "},
      {"/kill Q:", Refuse(FSCTL_DISMOUNT_VOLUME, denied), -1, 2, "Q: "},
      {"/kill Q:", removeRefused, -1, 2, "Q: "},
      {"/kill Q:", nullptr, -1, 0, "Q: ", false, false},
  };
  const std::vector<DWORD> unmount = {FSCTL_LOCK_VOLUME, kIoctlCloseFile, FSCTL_DISMOUNT_VOLUME,
                                      FSCTL_UNLOCK_VOLUME};
  const std::vector<DWORD> kill = {kIoctlCloseFile, FSCTL_DISMOUNT_VOLUME};
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    Reset(c.script, c.mounted);
    EXPECT_EQ(Run(c.line), c.result);
    const std::vector<DWORD>& all = c.line[1] == 'u' ? unmount : kill;
    EXPECT_EQ(drive.codes, std::vector<DWORD>(all.begin(), all.begin() + c.sent));
    EXPECT_EQ(drive.defined.count("Q:"), c.stays ? 1u : 0u);
    ExpectErr(c.err);
  }
}

TEST_F(Operations, LockAndUnlockUseTheLetterOnlyForTheRequest) {
  EXPECT_EQ(Run("/lockfile 0 R: \"C:\\my dir\\a.cvd\""), 0);
  EXPECT_EQ(out,
            "from srlockfile...\ndrive letter: R\nFileName:C:\\my dir\\a.cvd\n"
            "DeviceName:[\\Device\\SorvDisk\\SorvDisk0]\nIoControlCode:[0x8000e00c]");
  EXPECT_EQ(Run("/unlockfile 0 R:"), 0);
  EXPECT_EQ(out,
            "from srUnlockfile...\ndrive letter: R\n"
            "DeviceName:[\\Device\\SorvDisk\\SorvDisk0]\nIoControlCode:[0x8000e010]");
  ASSERT_EQ(drive.codes, (std::vector<DWORD>{kIoctlLockFile, kIoctlUnlockFile}));
  EXPECT_EQ(drive.inputs[0].size(), 256u);
  EXPECT_STREQ(reinterpret_cast<const char*>(drive.inputs[0].data()), "C:\\my dir\\a.cvd");
  EXPECT_TRUE(drive.inputs[1].empty());
  EXPECT_TRUE(drive.defined.empty());

  // The result says whether the letter came and went, not what the driver answered.
  drive.failSend[kIoctlLockFile] = ERROR_SHARING_VIOLATION;
  EXPECT_EQ(Run("/lockfile 0 R: C:\\a.cvd"), 0);
  EXPECT_TRUE(drive.defined.empty());
  ExpectErr("SorvDisk: ");
  drive.failRemove = ERROR_ACCESS_DENIED;
  EXPECT_EQ(Run("/unlockfile 0 R:"), -1);
  Reset(nullptr, false);
  drive.existing.insert('R');
  EXPECT_EQ(Run("/lockfile 0 R: C:\\a.cvd"), -1);
  EXPECT_TRUE(drive.codes.empty());
}

TEST_F(Operations, TheDeviceIsTheNumberAtTheStartOfItsWord) {
  for (auto [line, device] :
       {std::pair{"/unlockfile 12x r:", "r\nDeviceName:[\\Device\\SorvDisk\\SorvDisk12]"},
        {"/lockfile x R: C:\\a.cvd", "SorvDisk0]"},                  // no number: device 0
        {"/unlockfile 99999999999999 R:", "SorvDisk999999999]"}}) {  // no wrap-around
    EXPECT_EQ(Run(line), 0);
    EXPECT_NE(out.find(device), std::string::npos) << out;
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
