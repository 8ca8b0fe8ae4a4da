// SorvCrypt.dll as the programs use it: loaded by name, functions by name.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "library.h"

namespace {

using TextTextOut = int(__stdcall*)(const char*, const char*, char*);
using HashFn = int(__stdcall*)(const char*, char*);
using Out = int(__stdcall*)(char*);

struct SorvCrypt : testing::Test {
  Library library{"SorvCrypt.dll"};
  TextTextOut encrypt = library.Bind<TextTextOut>("AESEncryptB64");
  TextTextOut decrypt = library.Bind<TextTextOut>("AESDecryptB64");
  Out random = library.Bind<Out>("GenRandomB64");
  HashFn hash = library.Bind<HashFn>("SHA256Hex");

  void SetUp() override {
    ASSERT_TRUE(library.Loaded());
    ASSERT_TRUE(encrypt && decrypt && random && hash);
  }
};

// A caller buffer of 128 guard bytes; counts how many leading bytes were written.
struct Buffer {
  char bytes[128];
  Buffer() { std::memset(bytes, '\x5a', sizeof bytes); }
  size_t Touched() const {
    size_t last = 0;
    for (size_t i = 0; i < sizeof bytes; ++i)
      if (bytes[i] != '\x5a') last = i + 1;
    return last;
  }
};

std::string Ansi(const wchar_t* text) {
  char bytes[64] = {};
  WideCharToMultiByte(CP_ACP, 0, text, -1, bytes, sizeof bytes, nullptr, nullptr);
  return bytes;
}

}  // namespace

TEST_F(SorvCrypt, WrapsAndUnwrapsADiskKeyUnderAPassword) {
  const char diskKey[] = "q3Zr9Xc1LmP0aB7dEf2GhQ==";
  for (const std::string& password : {std::string("12345678"), Ansi(L"密码是加密盘"), std::string()}) {
    Buffer wrapped;
    EXPECT_EQ(encrypt(diskKey, password.c_str(), wrapped.bytes), 0);
    EXPECT_EQ(std::strlen(wrapped.bytes), 24u);
    EXPECT_EQ(std::string(wrapped.bytes + 22, 2), "==");
    EXPECT_EQ(wrapped.Touched(), 25u);

    Buffer unwrapped;
    EXPECT_EQ(decrypt(wrapped.bytes, password.c_str(), unwrapped.bytes), 0);
    EXPECT_EQ(unwrapped.Touched(), 16u);
    EXPECT_EQ(std::string(unwrapped.bytes, 16), std::string(diskKey, 16));
  }
  // A short plain text comes back NUL-padded, so cutting at the first NUL gives it again.
  Buffer wrapped, unwrapped;
  encrypt("short", "pw", wrapped.bytes);
  decrypt(wrapped.bytes, "pw", unwrapped.bytes);
  EXPECT_EQ(std::string(unwrapped.bytes, 16), std::string("short") + std::string(11, '\0'));
}

TEST_F(SorvCrypt, DamagedWrappedKeyWritesSixteenBytesOnly) {
  std::string damaged(127, 'w');
  Buffer out;
  EXPECT_EQ(decrypt(damaged.c_str(), "pw", out.bytes), 0);
  EXPECT_EQ(out.Touched(), 16u);
}

TEST_F(SorvCrypt, RandomKeysAreTwentyFourCharacters) {
  std::set<std::string> seen;
  for (int i = 0; i < 300; ++i) {
    Buffer out;
    ASSERT_EQ(random(out.bytes), 0);
    std::string key = out.bytes;
    ASSERT_EQ(key.size(), 24u);
    EXPECT_EQ(out.Touched(), 25u);
    EXPECT_EQ(key.substr(22), "==");
    EXPECT_NE(std::string("AQgw").find(key[21]), std::string::npos) << key;
    EXPECT_EQ(key.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/="),
              std::string::npos);
    seen.insert(key);
  }
  EXPECT_EQ(seen.size(), 300u);
}

TEST_F(SorvCrypt, HashesToUpperCaseHex) {
  Buffer out;
  EXPECT_EQ(hash("", out.bytes), 0);
  EXPECT_STREQ(out.bytes, "E3B0C44298FC1C149AFBF4C8996FB92427AE41E4649B934CA495991B7852B855");
  EXPECT_EQ(out.Touched(), 65u);
}
