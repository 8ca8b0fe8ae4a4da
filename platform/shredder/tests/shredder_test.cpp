// The real wiper on real files under the test's own temporary folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "SorvShredX.h"

namespace {

namespace fs = std::filesystem;

// Never zero, so that the zero pass and the noise tell themselves apart from them.
std::string OldBytes(size_t size) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>('A' + i % 23);
  return bytes;
}

void Write(const fs::path& file, size_t size, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << OldBytes(size);
  SetFileAttributesW(file.c_str(), attributes);
}

std::string ReadAll(HANDLE file) {
  std::string bytes(8 << 20, '\0');
  DWORD got = 0;
  SetFilePointer(file, 0, nullptr, FILE_BEGIN);
  ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
  bytes.resize(got);
  return bytes;
}

HANDLE Hold(const fs::path& file, DWORD share) {
  return CreateFileW(file.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr);
}

std::vector<fs::path> FilesUnder(const fs::path& root) {
  std::vector<fs::path> files;
  for (auto& entry : fs::recursive_directory_iterator(root))
    if (!entry.is_directory()) files.push_back(entry.path());
  return files;
}

class Shredder : public testing::Test {
 protected:
  void TearDown() override {
    std::error_code ignored;
    for (auto& entry : fs::recursive_directory_iterator(top_, ignored))
      SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    fs::remove_all(top_, ignored);
  }
  const fs::path top_ = fs::temp_directory_path() / L"shredder_test 擦除";
  shredder::SorvShredX control;
};

// A tree with a file of several blocks that the test holds open with all sharing, an empty
// file, a read-only one and an empty sub-folder: the held handle sees the noise, then only
// zeros, then nothing, and no file of the tree is left.
TEST_F(Shredder, OverwritesEveryByteOfEveryFile) {
  const size_t big = (5 << 20) / 2;
  const fs::path file = top_ / L"sub 1" / L"sub 2" / L"大文件.bin";
  Write(file, big);
  Write(top_ / L"empty.txt", 0);
  Write(top_ / L"sub 1" / L"ro.txt", 100, FILE_ATTRIBUTE_READONLY);
  fs::create_directories(top_ / L"sub 3");
  HANDLE held = Hold(file, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
  const DWORD caller = GetCurrentThreadId();
  std::vector<long> percents;
  bool onCaller = true, sawNoise = false, sawZeros = false;
  control.ShredProgress = [&](const std::wstring& text, long percent) {
    onCaller &= GetCurrentThreadId() == caller && !text.empty();
    percents.push_back(percent);
    const std::string now = ReadAll(held);
    sawZeros |= now == std::string(big, '\0');
    sawNoise |= now.size() == big && now.find_first_not_of('\0') < 4096 &&
                now.compare(0, 4096, OldBytes(4096)) != 0;
  };
  control.ShredFolder(top_.wstring());
  EXPECT_TRUE(onCaller);
  EXPECT_TRUE(sawNoise && sawZeros) << sawNoise << sawZeros;
  EXPECT_EQ(ReadAll(held), "");
  CloseHandle(held);
  EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
  EXPECT_TRUE(!percents.empty() && percents.front() >= 0 && percents.back() == 100);
  EXPECT_EQ(FilesUnder(top_), std::vector<fs::path>{});
}

// Held by another program that does not share both write and delete, a file cannot be
// overwritten: it stays whole and read-only as it was, and so does its folder. Nor can one
// held open for writing, fully shared: what it appends meanwhile would go unwiped.
TEST_F(Shredder, FileHeldWithoutFullSharingIsLeftWhole) {
  const fs::path file = top_ / L"locked.txt";
  const DWORD all = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  for (auto [access, share] : {std::pair<DWORD, DWORD>{GENERIC_READ, 0},
                               {GENERIC_READ, FILE_SHARE_READ},
                               {GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE},
                               {GENERIC_READ | GENERIC_WRITE, all}}) {
    SCOPED_TRACE(testing::Message() << access << " " << share);
    Write(file, 3000, FILE_ATTRIBUTE_READONLY);
    Write(top_ / L"other.txt", 10);
    HANDLE held = CreateFileW(file.c_str(), access, share, nullptr, OPEN_EXISTING, 0, nullptr);
    control.ShredFile(file.wstring());
    control.ShredFolder(top_.wstring());
    EXPECT_EQ(ReadAll(held), OldBytes(3000));
    CloseHandle(held);
    EXPECT_TRUE(GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(FilesUnder(top_), std::vector<fs::path>{file});
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
  }
}

// Inside the wipe every path takes the form that passes 260 characters, and the user reads
// it back as given, every name exactly. Expected forms from the rules of Windows paths.
TEST(LongForm, EveryPathPassesTheLimitAndReadsBackAsGiven) {
  wchar_t cwd[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, cwd);
  SetCurrentDirectoryW(L"C:\\windows");
  const struct {
    std::wstring given, inside, shown;
  } rows[] = {
      {L"C:\\dir\\文件.txt", L"\\\\?\\C:\\dir\\文件.txt", L"C:\\dir\\文件.txt"},
      {L"C:/dir/sub/", L"\\\\?\\C:\\dir\\sub", L"C:\\dir\\sub"},
      {L"C:\\dir\\..\\x", L"\\\\?\\C:\\x", L"C:\\x"},
      {L"C:\\", L"\\\\?\\C:\\", L"C:\\"},
      {L"x y.txt", L"\\\\?\\C:\\windows\\x y.txt", L"C:\\windows\\x y.txt"},
      {L"\\\\server\\share\\f", L"\\\\?\\UNC\\server\\share\\f", L"\\\\server\\share\\f"},
      {L"\\\\?\\C:\\a b", L"\\\\?\\C:\\a b", L"C:\\a b"},
      // A trailing dot or blank is part of the name, never dropped.
      {L"C:\\dir\\name.txt.", L"\\\\?\\C:\\dir\\name.txt.", L"C:\\dir\\name.txt."},
      {L"sp.txt ", L"\\\\?\\C:\\windows\\sp.txt ", L"C:\\windows\\sp.txt "},
      {L"\\dir.\\x", L"\\\\?\\C:\\dir.\\x", L"C:\\dir.\\x"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << row.given);
    EXPECT_EQ(shredder::LongForm(row.given), row.inside);
    EXPECT_EQ(shredder::ShortForm(row.inside), row.shown);
  }
  SetCurrentDirectoryW(cwd);
}

}  // namespace
