// Runs in its own program folder beside a recording SorvMount.dll.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "MsgBoxLog.h"
#include "Protection.h"
#include "SavedSettings.h"
#include "SorvLibs.h"

namespace {

class ProtectTest : public ::testing::Test {
protected:
  SavedSettings keep{L"Path"};
  MsgBoxLog boxes;
  std::wstring log = forms::AppPath() + L"\\mount-commands.txt";

  void SetUp() override {
    DeleteFileW(log.c_str());
    SetEnvironmentVariableA("SORV_MOUNT_RESULT", nullptr);
  }
  void TearDown() override { SetEnvironmentVariableA("SORV_MOUNT_RESULT", nullptr); }
  std::string Sent() {
    std::ifstream f(std::filesystem::path(log), std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
  }
  static std::string FirstFreeLetter() {
    wchar_t target[512];
    for (char l = 'C'; l <= 'Z'; ++l) {
      wchar_t drive[] = {wchar_t(l), L':', 0};
      if (!QueryDosDeviceW(drive, target, 512)) return std::string{l, ':'};
    }
    return "Z:";
  }
};

TEST_F(ProtectTest, UnprotectSendsThreeWordsOnFreeLetter) {
  const std::string free = FirstFreeLetter();
  ASSERT_EQ(FreeDriveLetter(), std::wstring(free.begin(), free.end()));
  UnprotectCvdFile();
  EXPECT_EQ(Sent(), "/unlockfile 0 " + free + "\n");
  EXPECT_TRUE(boxes.calls.empty());

  // Once that letter is taken, the next free one carries the request.
  wchar_t drive[] = {wchar_t(free[0]), L':', 0};
  ASSERT_TRUE(DefineDosDeviceW(DDD_RAW_TARGET_PATH, drive, L"\\Device\\Null"));
  const std::string next = FirstFreeLetter();
  EXPECT_NE(next, free);
  DeleteFileW(log.c_str());
  UnprotectCvdFile();
  DefineDosDeviceW(DDD_RAW_TARGET_PATH | DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE, drive,
                   L"\\Device\\Null");
  EXPECT_EQ(Sent(), "/unlockfile 0 " + next + "\n");
}

TEST_F(ProtectTest, ProtectQuotesTheCurrentPath) {
  SetSetting(L"Path", L"");
  ProtectCvdFile();
  EXPECT_EQ(Sent(), "");  // no current container: nothing sent
  EXPECT_TRUE(boxes.calls.empty());

  SetSetting(L"Path", L"D:\\my boxes\\加密 盘.cvd");
  ProtectCvdFile();
  // Sent in the ANSI code page (936 here).
  EXPECT_EQ(Sent(), "/lockfile 0 " + FirstFreeLetter() +
                        " \"D:\\my boxes\\\xBC\xD3\xC3\xDC \xC5\xCC.cvd\"\n");
  EXPECT_TRUE(boxes.calls.empty());
}

TEST_F(ProtectTest, FailuresAreShownWithoutTitle) {
  SetSetting(L"Path", L"C:\\a.cvd");
  SetEnvironmentVariableA("SORV_MOUNT_RESULT", "-1");
  ProtectCvdFile();
  UnprotectCvdFile();
  SetEnvironmentVariableA("SORV_MOUNT_RESULT", "65535");  // -1 as the callers read it
  UnprotectCvdFile();
  SetEnvironmentVariableA("SORV_MOUNT_RESULT", "1");
  UnprotectCvdFile();
  ASSERT_EQ(boxes.calls.size(), 3u);
  EXPECT_EQ(boxes.calls[0].prompt, L"未知的原因使加载文件保护失败，请检查后重新尝试一遍");
  EXPECT_EQ(boxes.calls[1].prompt, L"未知的原因使取消文件保护失败，请检查后重新尝试一遍");
  EXPECT_EQ(boxes.calls[2].prompt, boxes.calls[1].prompt);
  for (auto& c : boxes.calls) {
    EXPECT_EQ(c.Buttons(), UINT(MB_OK));
    EXPECT_EQ(c.Icon(), 0u);
    EXPECT_EQ(c.title, forms::AppTitle());
  }
}

TEST(LibBinding, OnlyTheProgramFolderIsSearched) {
  // No SorvBlock.dll in this program folder: a plain failure, whatever lies elsewhere.
  EXPECT_EQ(sorvlib::CVD_InitHeader("C:\\none.cvd"), -1);
  EXPECT_EQ(sorvlib::CVD_GetVersion("C:\\none.cvd"), -1);
}

}  // namespace
