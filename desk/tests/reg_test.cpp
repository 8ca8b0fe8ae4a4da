#include <gtest/gtest.h>

#include "Reg.h"

namespace {

// Our own key under HKCU: these cases never touch the programs' settings.
const HKEY kRoot = HKEY_CURRENT_USER;
const std::wstring kKey = L"Software\\SorvTest\\Reg";

class RegTest : public ::testing::Test {
protected:
  void SetUp() override { RegDeleteTreeW(kRoot, L"Software\\SorvTest"); }
  void TearDown() override { SetUp(); }
  static std::vector<BYTE> Raw(const std::wstring& name) {
    BYTE buf[64];
    DWORD size = sizeof buf;
    if (RegGetValueW(kRoot, kKey.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, nullptr, buf,
                     &size) != ERROR_SUCCESS)
      return {};
    return {buf, buf + size};
  }
  static bool KeyExists(const std::wstring& key) {
    HKEY h;
    if (RegOpenKeyExW(kRoot, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    return RegCloseKey(h), true;
  }
};

TEST_F(RegTest, EveryTypeRoundTrips) {
  struct Row {
    const wchar_t* name;
    RegValue value;
    DWORD type;
    std::wstring read;
    std::vector<BYTE> raw;  // checked when not empty
  };
  const Row rows[] = {
      {L"Trim", L" 自动选择 ", REG_SZ, L"自动选择"},
      {L"Path", L"D:\\加密 文件\\我的盘.cvd", REG_SZ, L"D:\\加密 文件\\我的盘.cvd"},
      {L"Number", 123LL, REG_SZ, L"123"},
      {L"Tick", true, REG_SZ, L"1"},
      {L"Expand", L"%TEMP%\\x", REG_EXPAND_SZ, L"%TEMP%\\x"},
      {L"Multi", L"one", REG_MULTI_SZ, L"one"},
      {L"Dword", 305419896LL, REG_DWORD, L"305419896", {0x78, 0x56, 0x34, 0x12}},
      {L"Max", 4294967295LL, REG_DWORD, L"4294967295"},
      {L"DwordText", L"258", REG_DWORD, L"258", {2, 1, 0, 0}},
      {L"Bin", std::vector<int64_t>{0x0A, 0xFF, 300, -1, 7}, REG_BINARY, L"0A FF 00 00 07",
       {0x0A, 0xFF, 0, 0, 7}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << r.name);
    EXPECT_TRUE(SetRegValue(kRoot, kKey, r.name, r.value, r.type));
    DWORD type = 0;
    EXPECT_EQ(GetRegValue(kRoot, kKey, r.name, type), r.read);
    EXPECT_EQ(type, r.type);
    if (!r.raw.empty()) EXPECT_EQ(Raw(r.name), r.raw);
  }
  DWORD type = 99;
  EXPECT_EQ(GetRegValue(kRoot, kKey, L"missing", type), L"");
  EXPECT_EQ(type, 0u);
}

TEST_F(RegTest, ValuesThatDoNotFitStoreNothing) {
  const std::pair<RegValue, DWORD> rows[] = {
      {4294967296LL, REG_DWORD}, {-1, REG_DWORD}, {L"abc", REG_DWORD}, {L"x", REG_BINARY}};
  for (auto& [value, type] : rows) {
    EXPECT_FALSE(SetRegValue(kRoot, kKey, L"v", value, type)) << type;
    EXPECT_TRUE(Raw(L"v").empty()) << type;
  }
}

TEST_F(RegTest, DeleteValueAndKey) {
  SetRegValue(kRoot, kKey, L"v", L"1", REG_SZ);
  SetRegValue(kRoot, kKey, L"w", L"2", REG_SZ);
  EXPECT_TRUE(DeleteRegValue(kRoot, kKey, L"v"));
  EXPECT_FALSE(DeleteRegValue(kRoot, kKey, L"v"));  // already gone
  EXPECT_EQ(GetRegValue(kRoot, kKey, L"w"), L"2");
  // An empty value name deletes the key named last; a trailing backslash names the same key.
  EXPECT_FALSE(DeleteRegValue(kRoot, L"Software\\SorvTest", L""));  // it has a subkey
  EXPECT_TRUE(DeleteRegValue(kRoot, kKey + L"\\", L""));
  EXPECT_FALSE(KeyExists(kKey));
  EXPECT_TRUE(KeyExists(L"Software\\SorvTest"));
  SetRegValue(kRoot, L"SorvTestTop", L"v", L"1", REG_SZ);
  EXPECT_TRUE(DeleteRegValue(kRoot, L"SorvTestTop", L""));  // directly under the root
  EXPECT_FALSE(KeyExists(L"SorvTestTop"));
}

}  // namespace
