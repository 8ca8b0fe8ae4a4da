// A scripted stand-in for the system behind the mount operations, answering what
// the test chooses, including what Wine never gives (a volume lock refused).
#pragma once

#include <windows.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "drive_system.h"

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
