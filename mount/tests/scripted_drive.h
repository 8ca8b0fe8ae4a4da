// A scripted stand-in for the system behind the mount operations: drive letters,
// one driver device, and answers chosen by the test, including those Wine never
// gives (a volume lock refused because files are open).
#pragma once

#include <windows.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "drive_system.h"

class ScriptedDrive : public DriveSystem {
 public:
  struct Sent {
    DWORD code;
    std::vector<uint8_t> input;
  };

  // Letters that exist before the test: openable, or defined yet unopenable.
  std::set<char> existing;
  std::set<char> unopenable;
  std::map<std::string, std::string> defined;  // drive name -> device name
  std::map<DWORD, DWORD> failSend;             // request code -> error it fails with
  DWORD failDefine = 0, failRemove = 0, failOpen = 0;
  std::vector<std::string> calls;
  std::vector<Sent> sent;
  int openHandles = 0;

  bool DefineDrive(const char* driveName, const char* deviceName) override {
    calls.push_back(std::string("define ") + driveName + " " + deviceName);
    if (failDefine) return Fail(failDefine);
    defined[driveName] = deviceName;
    return true;
  }
  bool RemoveDrive(const char* driveName) override {
    calls.push_back(std::string("remove ") + driveName);
    if (failRemove) return Fail(failRemove);
    if (!defined.erase(driveName)) return Fail(ERROR_FILE_NOT_FOUND);
    return true;
  }
  bool DriveDefined(const char* driveName) override {
    return existing.count(driveName[0]) || unopenable.count(driveName[0]) || defined.count(driveName);
  }
  HANDLE OpenDrive(const char* volumePath) override {
    calls.push_back(std::string("open ") + volumePath);
    std::string drive = std::string(volumePath + 4);
    if (existing.count(drive[0])) return Opened();
    if (unopenable.count(drive[0])) return Fail(ERROR_ACCESS_DENIED), INVALID_HANDLE_VALUE;
    if (!defined.count(drive)) return Fail(ERROR_FILE_NOT_FOUND), INVALID_HANDLE_VALUE;
    if (failOpen) return Fail(failOpen), INVALID_HANDLE_VALUE;
    return Opened();
  }
  bool Send(HANDLE, DWORD code, const void* input, DWORD size) override {
    char text[32];
    snprintf(text, sizeof text, "send %#lx", code);
    calls.push_back(text);
    const auto* bytes = static_cast<const uint8_t*>(input);
    sent.push_back({code, std::vector<uint8_t>(bytes, bytes + (input ? size : 0))});
    auto failure = failSend.find(code);
    if (failure != failSend.end()) return Fail(failure->second);
    return true;
  }
  void CloseDrive(HANDLE) override {
    calls.push_back("close");
    --openHandles;
  }

  std::vector<DWORD> Codes() const {
    std::vector<DWORD> codes;
    for (const Sent& s : sent) codes.push_back(s.code);
    return codes;
  }

 private:
  static bool Fail(DWORD error) {
    SetLastError(error);
    return false;
  }
  HANDLE Opened() {
    ++openHandles;
    return reinterpret_cast<HANDLE>(static_cast<intptr_t>(0x100 + openHandles));
  }
};
