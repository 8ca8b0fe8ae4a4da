#include <gtest/gtest.h>

#include "Reg.h"

namespace {

// Our own key under HKCU: these cases never touch the programs' settings.
const std::wstring kKey = L"Software\\SorvTest\\Reg";

class RegTest : public ::testing::Test {
protected:
  void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\SorvTest"); }
  void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\SorvTest"); }

  std::vector<BYTE> Raw(const wchar_t* name, DWORD& type) {
    BYTE buf[64];
    DWORD size = sizeof buf;
    if (RegGetValueW(HKEY_CURRENT_USER, kKey.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, &type, buf,
                     &size) != ERROR_SUCCESS)
      return {};
    return std::vector<BYTE>(buf, buf + size);
  }
};

TEST_F(RegTest, TextTypesRoundTripTrimmedAndExact) {
  DWORD type = 0;
  EXPECT_TRUE(SetRegValue(HKEY_CURRENT_USER, kKey, L"Drive", L" 自动选择", REG_SZ));
  EXPECT_EQ(GetRegValue(HKEY_CURRENT_USER, kKey, L"Drive", type), L"自动选择");
  EXPECT_EQ(type, DWORD(REG_SZ));

  const std::wstring path = L"D:\\加密 文件\\我的盘.cvd";
  SetRegValue(HKEY_CURRENT_USER, kKey, L"Path", path, REG_SZ);
  EXPECT_EQ(GetRegValue(HKEY_CURRENT_USER, kKey, L"Path"), path);

  SetRegValue(HKEY_CURRENT_USER, kKey, L"Expand", L"%TEMP%\\x", REG_EXPAND_SZ);
  EXPECT_EQ(GetRegValue(HKEY_CURRENT_USER, kKey, L"Expand", type), L"%TEMP%\\x");
  EXPECT_EQ(type, DWORD(REG_EXPAND_SZ));
  SetRegValue(HKEY_CURRENT_USER, kKey, L"Multi", L"one", REG_MULTI_SZ);
  EXPECT_EQ(GetRegValue(HKEY_CURRENT_USER, kKey, L"Multi", type), L"one");
  EXPECT_EQ(type, DWORD(REG_MULTI_SZ));

  // Numbers stored as text are their decimal form.
  SetRegValue(HKEY_CURRENT_USER, kKey, L"One", 1, REG_SZ);
  SetRegValue(HKEY_CURRENT_USER, kKey, L"Long", 123LL, REG_SZ);
  EXPECT_EQ(GetRegValue(HKEY_CURRENT_USER, kKey, L"One"), L"1");
  EXPECT_EQ(GetRegValue(HKEY_CURRENT_USER, kKey, L"Long"), L"123");
  SetRegValue(HKEY_CURRENT_USER, kKey, L"Key", DWORD(123), REG_SZ);
  SetRegValue(HKEY_CURRENT_USER, kKey, L"Tick", true, REG_SZ);
  EXPECT_EQ(GetRegValue(HKEY_CURRENT_USER, kKey, L"Key"), L"123");
  EXPECT_EQ(GetRegValue(HKEY_CURRENT_USER, kKey, L"Tick"), L"1");
}

TEST_F(RegTest, DwordBytesAndRange) {
  DWORD type = 0;
  EXPECT_TRUE(SetRegValue(HKEY_CURRENT_USER, kKey, L"N", 305419896LL, REG_DWORD));
  EXPECT_EQ(Raw(L"N", type), (std::vector<BYTE>{0x78, 0x56, 0x34, 0x12}));
  EXPECT_EQ(GetRegValue(HKEY_CURRENT_USER, kKey, L"N", type), L"305419896");
  EXPECT_EQ(type, DWORD(REG_DWORD));

  SetRegValue(HKEY_CURRENT_USER, kKey, L"Max", 4294967295LL, REG_DWORD);
  EXPECT_EQ(GetRegValue(HKEY_CURRENT_USER, kKey, L"Max"), L"4294967295");
  SetRegValue(HKEY_CURRENT_USER, kKey, L"Zero", 0, REG_DWORD);
  EXPECT_EQ(Raw(L"Zero", type), (std::vector<BYTE>{0, 0, 0, 0}));
  SetRegValue(HKEY_CURRENT_USER, kKey, L"Text", L"258", REG_DWORD);
  EXPECT_EQ(Raw(L"Text", type), (std::vector<BYTE>{2, 1, 0, 0}));

  EXPECT_FALSE(SetRegValue(HKEY_CURRENT_USER, kKey, L"Big", 4294967296LL, REG_DWORD));
  EXPECT_FALSE(SetRegValue(HKEY_CURRENT_USER, kKey, L"Neg", -1, REG_DWORD));
  EXPECT_FALSE(SetRegValue(HKEY_CURRENT_USER, kKey, L"Bad", L"abc", REG_DWORD));
  for (auto name : {L"Big", L"Neg", L"Bad"}) EXPECT_TRUE(Raw(name, type).empty()) << name;
}

TEST_F(RegTest, BinaryAndOtherTypes) {
  DWORD type = 0;
  EXPECT_TRUE(SetRegValue(HKEY_CURRENT_USER, kKey, L"Bin",
                          std::vector<int64_t>{0x0A, 0xFF, 300, -1, 7}, REG_BINARY));
  EXPECT_EQ(Raw(L"Bin", type), (std::vector<BYTE>{0x0A, 0xFF, 0, 0, 7}));
  EXPECT_EQ(GetRegValue(HKEY_CURRENT_USER, kKey, L"Bin", type), L"0A FF 00 00 07");
  EXPECT_EQ(type, DWORD(REG_BINARY));
  EXPECT_FALSE(SetRegValue(HKEY_CURRENT_USER, kKey, L"NotArray", L"x", REG_BINARY));

  // Types the module does not write: nothing stored, reported as done.
  EXPECT_TRUE(SetRegValue(HKEY_CURRENT_USER, kKey, L"Q", L"x", REG_QWORD));
  EXPECT_TRUE(Raw(L"Q", type).empty());
  RegSetKeyValueW(HKEY_CURRENT_USER, kKey.c_str(), L"Q", REG_QWORD, "\1\0\0\0\0\0\0\0", 8);
  EXPECT_EQ(GetRegValue(HKEY_CURRENT_USER, kKey, L"Q"), L"");
}

TEST_F(RegTest, MissingReadsEmpty) {
  DWORD type = 99;
  EXPECT_EQ(GetRegValue(HKEY_CURRENT_USER, L"Software\\SorvTest\\None", L"x", type), L"");
  EXPECT_EQ(type, 0u);
  SetRegValue(HKEY_CURRENT_USER, kKey, L"a", L"1", REG_SZ);
  EXPECT_EQ(GetRegValue(HKEY_CURRENT_USER, kKey, L"missing", type), L"");
  EXPECT_EQ(type, 0u);
}

TEST_F(RegTest, DeleteValueAndKey) {
  SetRegValue(HKEY_CURRENT_USER, kKey, L"v", L"1", REG_SZ);
  SetRegValue(HKEY_CURRENT_USER, kKey, L"w", L"2", REG_SZ);
  EXPECT_TRUE(DeleteRegValue(HKEY_CURRENT_USER, kKey, L"v"));
  EXPECT_EQ(GetRegValue(HKEY_CURRENT_USER, kKey, L"v"), L"");
  EXPECT_EQ(GetRegValue(HKEY_CURRENT_USER, kKey, L"w"), L"2");
  EXPECT_FALSE(DeleteRegValue(HKEY_CURRENT_USER, kKey, L"v"));  // already gone
  EXPECT_FALSE(DeleteRegValue(HKEY_CURRENT_USER, L"Software\\SorvTest\\None", L"v"));

  // Three components: the third is deleted under the first two, which stay.
  EXPECT_FALSE(DeleteRegValue(HKEY_CURRENT_USER, L"Software\\SorvTest", L""));  // has a subkey
  EXPECT_TRUE(DeleteRegValue(HKEY_CURRENT_USER, kKey, L""));
  HKEY h;
  EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, kKey.c_str(), 0, KEY_READ, &h), ERROR_SUCCESS);
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\SorvTest", 0, KEY_READ, &h), ERROR_SUCCESS);
  RegCloseKey(h);

  // A trailing backslash names the same key, not its parent.
  SetRegValue(HKEY_CURRENT_USER, L"Software\\SorvTest\\Run", L"v", L"1", REG_SZ);
  EXPECT_TRUE(DeleteRegValue(HKEY_CURRENT_USER, L"Software\\SorvTest\\Run\\", L""));
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\SorvTest", 0, KEY_READ, &h), ERROR_SUCCESS);
  RegCloseKey(h);

  // One component: deleted directly under the root.
  SetRegValue(HKEY_CURRENT_USER, L"SorvTestTop", L"v", L"1", REG_SZ);
  EXPECT_TRUE(DeleteRegValue(HKEY_CURRENT_USER, L"SorvTestTop", L""));
  EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, L"SorvTestTop", 0, KEY_READ, &h), ERROR_SUCCESS);
}

}  // namespace
