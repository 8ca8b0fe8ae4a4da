#include <gtest/gtest.h>

#include "Reg.h"

namespace {

// Our own keys under HKCU: these cases never touch the programs' settings.
const HKEY kRoot = HKEY_CURRENT_USER;
const std::wstring kParent = L"Software\\SorvTest", kKey = kParent + L"\\Reg";

class RegTest : public ::testing::Test {
 protected:
  void SetUp() override { RegDeleteTreeW(kRoot, kParent.c_str()); }
  void TearDown() override { SetUp(); }
};

TEST_F(RegTest, EveryTypeRoundTripsAndWhatDoesNotFitIsRefused) {
  const std::tuple<RegValue, DWORD, std::wstring> rows[] = {
      // read back "": refused
      {L" 自动选择 ", REG_SZ, L"自动选择"},
      {L"D:\\加密 文件\\我的盘.cvd", REG_SZ, L"D:\\加密 文件\\我的盘.cvd"},
      {123LL, REG_SZ, L"123"},
      {true, REG_SZ, L"1"},
      {L"%TEMP%\\x", REG_EXPAND_SZ, L"%TEMP%\\x"},
      {L"one", REG_MULTI_SZ, L"one"},
      {4294967295LL, REG_DWORD, L"4294967295"},
      {L"258", REG_DWORD, L"258"},
      {std::vector<int64_t>{0x0A, 0xFF, 300, -1, 7}, REG_BINARY, L"0A FF 00 00 07"},
      {4294967296LL, REG_DWORD, L""},
      {-1, REG_DWORD, L""},
      {L"abc", REG_DWORD, L""},
      {L"x", REG_BINARY, L""},
  };
  for (auto& [value, type, read] : rows) {
    SCOPED_TRACE(testing::Message() << read << " as " << type);
    EXPECT_EQ(SetRegValue(kRoot, kKey, L"v", value, type), !read.empty());
    DWORD stored = 99;
    EXPECT_EQ(GetRegValue(kRoot, kKey, L"v", stored), read);
    EXPECT_EQ(stored, read.empty() ? 0 : type);
    DeleteRegValue(kRoot, kKey, L"v");
  }
}

TEST_F(RegTest, DeleteValueAndKey) {
  SetRegValue(kRoot, kParent, L"p", L"kept", REG_SZ);
  SetRegValue(kRoot, kKey, L"v", L"1", REG_SZ);
  SetRegValue(kRoot, kKey, L"w", L"2", REG_SZ);
  EXPECT_TRUE(DeleteRegValue(kRoot, kKey, L"v"));
  EXPECT_FALSE(DeleteRegValue(kRoot, kKey, L"v"));  // already gone
  EXPECT_EQ(GetRegValue(kRoot, kKey, L"w"), L"2");
  // An empty value name deletes the key named last; a trailing backslash names the same key.
  EXPECT_FALSE(DeleteRegValue(kRoot, kParent, L""));  // it has a subkey
  EXPECT_TRUE(DeleteRegValue(kRoot, kKey + L"\\", L""));
  EXPECT_EQ(GetRegValue(kRoot, kKey, L"w"), L"");
  EXPECT_EQ(GetRegValue(kRoot, kParent, L"p"), L"kept");
  SetRegValue(kRoot, L"SorvTestTop", L"v", L"1", REG_SZ);
  EXPECT_TRUE(DeleteRegValue(kRoot, L"SorvTestTop", L""));  // directly under the root
  EXPECT_FALSE(DeleteRegValue(kRoot, L"SorvTestTop", L""));
}

}  // namespace
