// Runs in its own program folder beside a recording SorvMount.dll.
#include <gtest/gtest.h>

#include "ScriptedRuntime.h"
#include "Protection.h"
#include "SavedSettings.h"
#include "SorvLibs.h"
#include "TempDir.h"

namespace {

class ProtectTest : public ::testing::Test {
 protected:
  SavedSettings keep{L"Path"};
  testsupport::ScriptedRuntime runtime;
  std::wstring log = forms::AppPath() + L"\\mount-commands.txt";

  void SetUp() override { TearDown(); }
  void TearDown() override {
    DeleteFileW(log.c_str());
    SetEnvironmentVariableA("SORV_MOUNT_RESULT", nullptr);
    SetEnvironmentVariableA("SORV_MOUNT_ERROR", nullptr);
  }
  static std::string FirstFreeLetter() {
    wchar_t drive[] = L"C:", target[512];
    while (drive[0] < L'Z' && QueryDosDeviceW(drive, target, 512)) ++drive[0];
    return {char(drive[0]), ':'};
  }
};

TEST_F(ProtectTest, CommandsOnTheFirstFreeLetter) {
  SetSetting(L"Path", L"");
  ProtectCvdFile();
  EXPECT_EQ(ReadBytes(log), "");  // no current container: nothing sent
  const std::string free = FirstFreeLetter();
  UnprotectCvdFile();
  EXPECT_EQ(ReadBytes(log), "/unlockfile 0 " + free + "\n");
  // Once that letter is taken the next free one carries the request; the path goes quoted, in
  // the ANSI code page (936 here).
  wchar_t drive[] = {wchar_t(free[0]), L':', 0};
  ASSERT_TRUE(DefineDosDeviceW(DDD_RAW_TARGET_PATH, drive, L"\\Device\\Null"));
  const std::string next = FirstFreeLetter();
  SetSetting(L"Path", L"D:\\my boxes\\加密 盘.cvd");
  DeleteFileW(log.c_str());
  ProtectCvdFile();
  DefineDosDeviceW(DDD_RAW_TARGET_PATH | DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE, drive,
                   L"\\Device\\Null");
  EXPECT_NE(next, free);
  EXPECT_EQ(ReadBytes(log),
            "/lockfile 0 " + next + " \"D:\\my boxes\\\xBC\xD3\xC3\xDC \xC5\xCC.cvd\"\n");
  EXPECT_TRUE(runtime.boxes.empty());
}

TEST_F(ProtectTest, FailuresAreShownWithoutTitle) {
  SetSetting(L"Path", L"C:\\a.cvd");
  // The result is read as a 16-bit number: 65535 is -1, a positive one no failure.
  const std::tuple<const char*, void (*)(), const wchar_t*> rows[] = {
      {"-1", ProtectCvdFile, L"未知的原因使加载文件保护失败，请检查后重新尝试一遍"},
      {"-1", UnprotectCvdFile, L"未知的原因使取消文件保护失败，请检查后重新尝试一遍"},
      {"65535", UnprotectCvdFile, L"未知的原因使取消文件保护失败，请检查后重新尝试一遍"},
      {"1", UnprotectCvdFile, nullptr}};
  for (auto& [result, call, prompt] : rows) {
    runtime.boxes.clear();
    SetEnvironmentVariableA("SORV_MOUNT_RESULT", result);
    call();
    ASSERT_EQ(runtime.boxes.size(), prompt ? 1u : 0u) << result;
    if (!prompt) continue;
    EXPECT_EQ(runtime.boxes[0].prompt, prompt);
    EXPECT_EQ(runtime.boxes[0].title, forms::AppTitle());
  }
}

// Every program sends a command at its start: one that timed out waiting for the library's
// command lock is told as that, before the caller's own failure; other failures are not.
TEST_F(ProtectTest, ACommandLockHeldElsewhereIsTold) {
  SetSetting(L"Path", L"C:\\a.cvd");
  SetEnvironmentVariableA("SORV_MOUNT_RESULT", "-1");
  for (const char* error : {"1460", "5"}) {  // ERROR_TIMEOUT, ERROR_ACCESS_DENIED
    runtime.boxes.clear();
    SetEnvironmentVariableA("SORV_MOUNT_ERROR", error);
    UnprotectCvdFile();
    const bool timedOut = error[0] == '1';
    ASSERT_EQ(runtime.boxes.size(), timedOut ? 2u : 1u) << error;
    if (timedOut) {
      EXPECT_NE(runtime.boxes[0].prompt.find(L"另一个程序占用着加密盘的命令通道"),
                std::wstring::npos);
    }
    EXPECT_EQ(runtime.boxes.back().prompt,
              L"未知的原因使取消文件保护失败，请检查后重新尝试一遍");
  }
}

TEST(LibBinding, OnlyTheProgramFolderIsSearched) {
  // No SorvBlock.dll in this program folder: a plain failure, whatever lies elsewhere.
  EXPECT_EQ(sorvlib::CVD_InitHeader("C:\\none.cvd"), -1);
}

}  // namespace
