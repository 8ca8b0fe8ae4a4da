// The real wiper on real files under the test's own temporary folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "SorvShredX.h"

namespace {

namespace fs = std::filesystem;

// Old bytes that are never zero, so zeros and noise tell themselves apart from them.
std::string OldBytes(size_t size) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>('A' + i % 23);
  return bytes;
}

void Write(const fs::path& file, size_t size) {
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << OldBytes(size);
}

std::string ReadAll(HANDLE file) {
  std::string bytes(8 << 20, '\0');
  LARGE_INTEGER zero{};
  DWORD got = 0;
  SetFilePointerEx(file, zero, nullptr, FILE_BEGIN);
  ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
  bytes.resize(got);
  return bytes;
}

HANDLE Hold(const fs::path& file, DWORD share) {
  return CreateFileW(file.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr);
}

std::vector<fs::path> FilesUnder(const fs::path& root) {
  std::vector<fs::path> files;
  std::error_code ignored;
  for (auto& entry : fs::recursive_directory_iterator(root, ignored))
    if (!entry.is_directory()) files.push_back(entry.path());
  return files;
}

class Shredder : public testing::Test {
 protected:
  void SetUp() override { fs::create_directories(root_); }
  void TearDown() override {
    std::error_code ignored;
    for (auto& entry : fs::recursive_directory_iterator(root_, ignored))
      SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    fs::remove_all(root_, ignored);
  }
  const fs::path root_ = fs::temp_directory_path() / L"shredder_test 擦除";
};

// A tree of files: a multi-block one (held open by the test), an empty one, a read-only one,
// an empty sub-folder; wiped as one file or as a folder, with and without the held handle.
TEST_F(Shredder, OverwritesEveryByteAndLeavesNoFile) {
  struct Case {
    const char* name;
    bool folder, held;
  } cases[] = {{"file held", false, true}, {"folder held", true, true}, {"folder", true, false}};
  const size_t big = (5 << 20) / 2;  // two and a half blocks
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path top = root_ / L"tree", file = top / L"sub 1" / L"sub 2" / L"大文件.bin";
    Write(file, big);
    Write(top / L"empty.txt", 0);
    Write(top / L"sub 1" / L"ro.txt", 100);
    SetFileAttributesW((top / L"sub 1" / L"ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    fs::create_directories(top / L"sub 3");
    HANDLE held = c.held ? Hold(file, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE)
                         : INVALID_HANDLE_VALUE;

    shredder::SorvShredX control;
    const DWORD caller = GetCurrentThreadId();
    std::vector<long> percents;
    bool onCaller = true, sawNoise = false, sawZeros = false;
    control.ShredProgress = [&](const std::wstring& text, long percent) {
      onCaller &= GetCurrentThreadId() == caller;
      EXPECT_FALSE(text.empty());
      percents.push_back(percent);
      if (held == INVALID_HANDLE_VALUE) return;
      const std::string now = ReadAll(held);
      sawZeros |= now == std::string(big, '\0');
      sawNoise |= now.size() == big && now.compare(0, 4096, OldBytes(4096)) != 0 &&
                  now.compare(0, 4096, std::string(4096, '\0')) != 0;
    };
    if (c.folder)
      control.ShredFolder(top.wstring());
    else
      control.ShredFile(file.wstring());

    EXPECT_TRUE(onCaller);
    ASSERT_FALSE(percents.empty());
    EXPECT_EQ(percents.back(), 100);
    EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
    EXPECT_GE(percents.front(), 0);
    if (c.held) {
      EXPECT_TRUE(sawNoise) << "no random pass seen";
      EXPECT_TRUE(sawZeros) << "no zero pass seen";
      EXPECT_EQ(ReadAll(held), "");
      CloseHandle(held);
    }
    EXPECT_FALSE(fs::exists(file));
    if (c.folder) {
      EXPECT_EQ(FilesUnder(top), std::vector<fs::path>{});
      if (!c.held) {
        EXPECT_FALSE(fs::exists(top));
      }
    } else {
      EXPECT_EQ(FilesUnder(file.parent_path()), std::vector<fs::path>{});
    }
    std::error_code ignored;
    fs::remove_all(top, ignored);
  }
}

// A file another program holds without sharing all of write and delete cannot be
// overwritten: it stays whole, read-only as it was, and so does its folder.
TEST_F(Shredder, FileHeldWithoutSharingIsLeftWhole) {
  for (DWORD share :
       {DWORD(0), DWORD(FILE_SHARE_READ), DWORD(FILE_SHARE_READ | FILE_SHARE_WRITE)}) {
    SCOPED_TRACE(share);
    const fs::path top = root_ / L"held", file = top / L"locked.txt", other = top / L"x.txt";
    Write(file, 3000);
    Write(other, 10);
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY);
    HANDLE held = Hold(file, share);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    shredder::SorvShredX control;
    long last = -1;
    control.ShredProgress = [&](const std::wstring&, long percent) { last = percent; };
    control.ShredFile(file.wstring());
    control.ShredFolder(top.wstring());
    EXPECT_EQ(ReadAll(held), OldBytes(3000));
    CloseHandle(held);
    EXPECT_TRUE(GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(FilesUnder(top), std::vector<fs::path>{file});
    EXPECT_EQ(last, 100);
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    fs::remove_all(top);
  }
}

}  // namespace
