// The five operations step by step against a scripted system: result codes, what
// each failure undoes, the diagnostic lines.
#include <gtest/gtest.h>
#include <windows.h>
#include <aclapi.h>
#include <sddl.h>
#include <winioctl.h>

#include <functional>
#include <map>
#include <set>

#include "command.h"
#include "command_lock.h"
#include "FakeNamespace.h"
#include "StartProcess.h"
#include "operations.h"
#include "sorvdisk_ioctl.h"

namespace {

// The system behind the operations, answering what the test chooses, including
// what Wine never gives (a volume lock refused).
struct ScriptedDrive : DriveSystem {
  std::set<char> existing, unopenable;         // letters there before the test
  std::set<char> otherSession;                 // the user's unelevated session's letters
  std::map<std::string, std::string> defined;  // the caller's own: drive name -> device name
  std::map<std::string, std::string> linked;   // the driver's, for every session
  std::map<DWORD, DWORD> failSend;             // request code -> its error
  DWORD failDefine = 0, failRemove = 0, failOpen = 0;
  std::vector<std::string> calls;  // define, remove and open, in order
  std::vector<DWORD> codes;        // the requests sent
  std::vector<std::vector<uint8_t>> inputs;
  std::vector<std::string> announced;    // "+Q" arrived, "-Q" left
  std::map<HANDLE, std::string> opened;  // handle -> the device it was opened on
  std::function<void()> onOpen;          // runs inside the command, before each open
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
    return existing.count(*drive) || unopenable.count(*drive) || defined.count(drive) ||
           linked.count(drive);
  }
  std::string Device(const char* drive) {  // the caller's own definition comes first
    return defined.count(drive) ? defined[drive] : linked.count(drive) ? linked[drive] : "";
  }
  bool OtherSessionHas(char letter) override { return otherSession.count(letter); }
  HANDLE OpenDrive(const char* volume) override {
    calls.push_back(std::string("open ") + volume);
    if (onOpen) onOpen();
    const char* drive = volume + 4;
    DWORD error = existing.count(*drive)     ? 0
                  : unopenable.count(*drive) ? ERROR_ACCESS_DENIED
                  : Device(drive).empty()    ? ERROR_FILE_NOT_FOUND
                                             : failOpen;
    if (error) return Fail(error), INVALID_HANDLE_VALUE;
    HANDLE handle = reinterpret_cast<HANDLE>(static_cast<intptr_t>(0x100 + ++openHandles));
    opened[handle] = Device(drive);
    return handle;
  }
  bool Send(HANDLE handle, DWORD code, const void* input, DWORD size) override {
    codes.push_back(code);
    const auto* bytes = static_cast<const uint8_t*>(input);
    inputs.emplace_back(bytes, bytes + (input ? size : 0));
    auto failure = failSend.find(code);
    if (failure != failSend.end()) return Fail(failure->second);
    if (code == kIoctlLinkLetter)
      linked[std::string{static_cast<char>(*bytes), ':'}] = opened[handle];
    if (code == kIoctlUnlinkLetter)
      std::erase_if(linked, [&](const auto& link) { return link.second == opened[handle]; });
    return true;
  }
  std::vector<uint8_t> answer = {0, 0};  // what the device says it serves
  bool Ask(HANDLE, DWORD code, void* output, DWORD size) override {
    codes.push_back(code);
    auto failure = failSend.find(code);
    if (failure != failSend.end()) return Fail(failure->second);
    memcpy(output, answer.data(), std::min<size_t>(size, answer.size()));
    return size == answer.size();
  }
  void CloseDrive(HANDLE) override { --openHandles; }
  void Announce(char letter, bool arrived) override {
    announced.push_back((arrived ? "+" : "-") + std::string(1, letter));
  }
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
    if (mounted) drive.linked["Q:"] = "\\Device\\SorvDisk\\SorvDisk0";
    if (script) script(drive);
  }
  void ExpectErr(const char* start) {  // "": nothing at all
    EXPECT_EQ(*start ? err.substr(0, strlen(start)) : err, start) << err;
  }
};

const char kMount[] = "/mount 0 \"C:\\my dir\\a.cvd\" Q: ABCDEFGHIJKLMNOPQRSTUVWX";

// The letter ends up the driver's, for every logon session, and nobody's own.
TEST_F(Operations, MountHandsOverFileKeyAndLetter) {
  EXPECT_EQ(Run(kMount), 0);
  EXPECT_EQ(drive.linked["Q:"], "\\Device\\SorvDisk\\SorvDisk0");
  EXPECT_TRUE(drive.defined.empty());
  ASSERT_EQ(drive.codes, (std::vector<DWORD>{kIoctlOpenFile, kIoctlSetKey, kIoctlLinkLetter}));
  EXPECT_EQ(drive.inputs[0], OpenFileRequest("C:\\my dir\\a.cvd"));
  EXPECT_EQ(std::string(drive.inputs[1].begin(), drive.inputs[1].end()),
            "ABCDEFGHIJKLMNOP" + std::string(16, '\0'));
  EXPECT_EQ(drive.inputs[2], std::vector<uint8_t>{'Q'});
  EXPECT_EQ(drive.announced, std::vector<std::string>{"+Q"});
  EXPECT_EQ(out, "DeviceName:[\\Device\\SorvDisk\\SorvDisk0]\nIoControl SetKey : OK.\n");
  EXPECT_EQ(err, "");
  EXPECT_EQ(Run("/mount 2 C:\\a.cvd S: key"), 0);
  EXPECT_EQ(drive.linked["S:"], "\\Device\\SorvDisk\\SorvDisk2");
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
      // The user's own session has Q: (a share, a subst): ours would hide behind it there.
      {[](ScriptedDrive& d) { d.otherSession.insert('Q'); }, {}, "open \\\\.\\Q:", "Q: "},
      {[](ScriptedDrive& d) { d.failDefine = ERROR_ACCESS_DENIED; }, {}, "define Q:", "Q: "},
      {[](ScriptedDrive& d) { d.failOpen = ERROR_FILE_NOT_FOUND; }, {}, "remove Q:", "Q: "},
      {Refuse(kIoctlOpenFile, ERROR_FILE_NOT_FOUND), {kIoctlOpenFile}, "remove Q:", "SorvDisk: "},
      // Another program took the letter between the caller's definition and the driver's.
      {Refuse(kIoctlLinkLetter, ERROR_ALREADY_EXISTS),
       {kIoctlOpenFile, kIoctlSetKey, kIoctlLinkLetter, kIoctlCloseFile},
       "remove Q:",
       "SorvDisk: "},
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
    EXPECT_TRUE(drive.defined.empty() && drive.linked.empty());
    EXPECT_TRUE(drive.announced.empty());
    ExpectErr(c.err);
  }
  EXPECT_NE(out.find("IoControl SetKey : error.\n"), std::string::npos);
}

TEST_F(Operations, EachUnmountStepHasItsCode) {
  const DWORD denied = ERROR_ACCESS_DENIED;
  // A definition of the caller's own beside the driver's letter, or instead of it (a
  // drive mounted before the driver named the letters).
  const Script ownLeft = [](ScriptedDrive& d) { d.defined["Q:"] = d.linked["Q:"]; };
  const Script ownOnly = [](ScriptedDrive& d) { d.defined.swap(d.linked); };
  const Script ownRefused = [=](ScriptedDrive& d) {
    ownLeft(d);
    d.failRemove = denied;
  };
  struct Case {
    const char* line;
    Script script;
    int result;
    size_t sent;
    const char* err;
    bool stays = true, mounted = true;
  };
  const Case cases[] = {
      {"/umount Q:\\", nullptr, 0, 5, "", false},
      {"/umount Q:", ownLeft, 0, 5, "", false},
      {"/umount Q:", ownOnly, 0, 5, "", false},
      // Wine, and Windows for a raw volume, refuse the dismount as a missing function.
      {"/umount Q:", Refuse(FSCTL_DISMOUNT_VOLUME, ERROR_BAD_DEV_TYPE), 0, 5, "", false},
      {"/umount Q:", Refuse(FSCTL_LOCK_VOLUME, denied), -2, 1, ""},  // files open
      {"/umount Q:", Refuse(kIoctlCloseFile, denied), -3, 2, "SorvDisk: "},
      {"/umount Q:", Refuse(FSCTL_DISMOUNT_VOLUME, denied), -4, 3, "Q: "},
      {"/umount Q:", Refuse(FSCTL_UNLOCK_VOLUME, denied), -5, 4, "Q: "},
      {"/umount Q:", Refuse(kIoctlUnlinkLetter, denied), -6, 5, "SorvDisk: "},
      {"/umount Q:", ownRefused, -6, 5, "Q: "},
      {"/umount Q:", nullptr, -1, 0, "", false, false},
      {"/kill Q:\\", Refuse(FSCTL_LOCK_VOLUME, denied), 0, 3, "", false},  // takes no lock
      {"/kill Q:", ownOnly, 0, 3, "", false},
      {"/kill Q:", Refuse(FSCTL_DISMOUNT_VOLUME, ERROR_INVALID_FUNCTION), 0, 3, "", false},
      {"/kill Q:", Refuse(kIoctlCloseFile, denied), -1, 1, "SorvDisk: "},
      {"/kill Q:", Refuse(FSCTL_DISMOUNT_VOLUME, denied), -1, 2, "Q: "},
      {"/kill Q:", Refuse(kIoctlUnlinkLetter, denied), -1, 3, "SorvDisk: "},
      {"/kill Q:", ownRefused, -1, 3, "Q: "},
      {"/kill Q:", nullptr, -1, 0, "Q: ", false, false},
  };
  const std::vector<DWORD> unmount = {FSCTL_LOCK_VOLUME, kIoctlCloseFile, FSCTL_DISMOUNT_VOLUME,
                                      FSCTL_UNLOCK_VOLUME, kIoctlUnlinkLetter};
  const std::vector<DWORD> kill = {kIoctlCloseFile, FSCTL_DISMOUNT_VOLUME, kIoctlUnlinkLetter};
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    Reset(c.script, c.mounted);
    EXPECT_EQ(Run(c.line), c.result);
    const std::vector<DWORD>& all = c.line[1] == 'u' ? unmount : kill;
    EXPECT_EQ(drive.codes, std::vector<DWORD>(all.begin(), all.begin() + c.sent));
    EXPECT_EQ(drive.DriveDefined("Q:"), c.stays);
    EXPECT_EQ(drive.announced,
              c.result == 0 ? std::vector<std::string>{"-Q"} : std::vector<std::string>{});
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

// The query tells a later start what an earlier one left: the letter to unmount whenever
// the device has one, 1 for a container without a letter, 0 for nothing.
TEST_F(Operations, QueryNamesWhatTheDeviceServesThroughATemporaryLetter) {
  const struct {
    std::vector<uint8_t> answer;
    DWORD refused;
    int result;
  } cases[] = {{{0, 0}, 0, 0},   {{1, 'G'}, 0, 'G'},         {{0, 'G'}, 0, 'G'},
               {{1, 0}, 0, 1},   {{1, 'g'}, 0, 'G'},         {{0, 0}, ERROR_INVALID_FUNCTION, -1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.result);
    Reset(c.refused ? Refuse(kIoctlQueryDevice, c.refused) : Script(), false);
    drive.answer = c.answer;
    EXPECT_EQ(Run("/query 0 R:"), c.result);
    EXPECT_EQ(drive.codes, std::vector<DWORD>{kIoctlQueryDevice});
    EXPECT_EQ(drive.calls, (std::vector<std::string>{"open \\\\.\\R:", "define R:",
                                                     "open \\\\.\\R:", "remove R:"}));
  }
  Reset(nullptr, true);
  EXPECT_EQ(Run("/query 0 Q:"), -1) << "a letter in use is no temporary letter";
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

// The SIDs the semaphore's DACL lets in, while a command holds it.
std::set<std::string> SemaphoreAllows() {
  std::set<std::string> sids;
  HANDLE semaphore = OpenSemaphoreA(READ_CONTROL, FALSE, "SorvMount");
  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (semaphore && GetSecurityInfo(semaphore, SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                                   nullptr, &dacl, nullptr, &descriptor) == ERROR_SUCCESS) {
    for (DWORD i = 0; dacl && i < dacl->AceCount; ++i) {
      ACCESS_ALLOWED_ACE* ace;
      char* sid;
      if (GetAce(dacl, i, reinterpret_cast<void**>(&ace)) &&
          ace->Header.AceType == ACCESS_ALLOWED_ACE_TYPE &&
          ConvertSidToStringSidA(&ace->SidStart, &sid)) {
        sids.insert(sid);
        LocalFree(sid);
      }
    }
    if (!dacl) sids.insert("everyone (no DACL)");
  }
  if (descriptor) LocalFree(descriptor);
  if (semaphore) CloseHandle(semaphore);
  return sids;
}

// Any program of the session can make the semaphore's name first and hold it: then the
// command gives up after its time with a message instead of hanging its program.
TEST_F(Operations, CommandSemaphoreIsForAdministratorsAndItsWaitEnds) {
  HANDLE release = CreateEventA(nullptr, TRUE, FALSE, "SorvMountTestRelease");
  PROCESS_INFORMATION holder = {};
  ASSERT_TRUE(testsupport::StartProcess(L"mount_client.exe hold", holder));
  CloseHandle(holder.hThread);
  bool held = false;
  for (int wait = 0; wait < 300 && !held; ++wait, Sleep(100)) {
    HANDLE semaphore = OpenSemaphoreA(SYNCHRONIZE | SEMAPHORE_MODIFY_STATE, FALSE, "SorvMount");
    held = semaphore && WaitForSingleObject(semaphore, 0) == WAIT_TIMEOUT;
    if (semaphore && !held) ReleaseSemaphore(semaphore, 1, nullptr);  // not taken yet
    if (semaphore) CloseHandle(semaphore);
  }
  ASSERT_TRUE(held) << "the holder never took the semaphore";

  Reset(nullptr, true);
  CaptureStderr();
  const DWORD start = GetTickCount();
  EXPECT_EQ(RunSerialised(drive, "/umount Q:", 500), -1);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_TIMEOUT));
  const DWORD waited = GetTickCount() - start;
  err = GetCapturedStderr();
  EXPECT_GE(waited, 400u);
  EXPECT_LT(waited, 5000u);
  EXPECT_EQ(err.rfind("SorvMount: ", 0), 0u) << err;
  EXPECT_GT(err.size(), 30u) << "the reason follows";
  EXPECT_TRUE(drive.calls.empty()) << "nothing ran";

  // The export itself, with its own limit: it gives up too, and says why in its last error.
  auto exported = reinterpret_cast<int(__stdcall*)(const char*)>(reinterpret_cast<void*>(
      GetProcAddress(LoadLibraryW(L"SorvMount.dll"), "SorvMount")));
  ASSERT_NE(exported, nullptr);
  struct Call {
    decltype(exported) mount;
    int result = 0;
    DWORD error = 0, waited = 0;
  } call{exported};
  HANDLE caller = CreateThread(
      nullptr, 0,
      [](void* p) -> DWORD {
        auto* c = static_cast<Call*>(p);
        const DWORD start = GetTickCount();
        c->result = c->mount("/umount Q:");
        c->error = GetLastError();
        c->waited = GetTickCount() - start;
        return 0;
      },
      &call, 0, nullptr);
  const bool gaveUp = WaitForSingleObject(caller, kCommandWaitMs + 15000) == WAIT_OBJECT_0;
  EXPECT_TRUE(gaveUp) << "the export still waits";
  SetEvent(release);  // lets a call that waits on run
  WaitForSingleObject(caller, INFINITE);
  CloseHandle(caller);
  EXPECT_EQ(call.result, -1);
  EXPECT_EQ(call.error, static_cast<DWORD>(ERROR_TIMEOUT));
  EXPECT_GE(call.waited, kCommandWaitMs - 1000);
  EXPECT_EQ(WaitForSingleObject(holder.hProcess, 20000), WAIT_OBJECT_0);
  CloseHandle(holder.hProcess);
  CloseHandle(release);

  // Made by the command itself, it lets in administrators and SYSTEM only.
  std::set<std::string> allowed;
  drive.onOpen = [&] { allowed = SemaphoreAllows(); };
  CaptureStderr();
  EXPECT_EQ(RunSerialised(drive, "/umount Q:", 500), 0);
  GetCapturedStderr();
  EXPECT_EQ(allowed, (std::set<std::string>{"S-1-5-18", "S-1-5-32-544"}));
}

// Where the system has private namespaces, the plain name that another program made and
// holds is not the command's semaphore: the command runs at once.
TEST_F(Operations, APlainNameHeldElsewhereStopsNoCommand) {
  HANDLE squatter = CreateSemaphoreW(nullptr, 1, 1, L"SorvMount");
  ASSERT_EQ(WaitForSingleObject(squatter, 0), WAIT_OBJECT_0);
  {
    testsupport::FakeNamespace space;
    Reset(nullptr, true);
    CaptureStderr();
    EXPECT_EQ(RunSerialised(drive, "/umount Q:", 500), 0);
    GetCapturedStderr();
    EXPECT_EQ(space.boundarySids, std::vector<std::string>{"S-1-5-32-544"});
  }
  CloseHandle(squatter);
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
