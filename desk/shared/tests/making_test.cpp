// Making a container file: both ways, and what each does when something fails.
#include <gtest/gtest.h>

#include <vector>

#include "ContainerMaking.h"
#include "CutAtNul.h"
#include "SorvLibs.h"
#include "TempDir.h"
#include "forms.h"

namespace {

struct Recorded : making::Progress {
  int begun = 0, ended = 0;
  std::vector<int> percents;
  void Begin() override { ++begun; }
  void Percent(int p) override { percents.push_back(p); }
  void End() override { ++ended; }
};

constexpr long long MiB = 1 << 20;

TEST(ZeroFill, WholeFileInBlocksWithAHundredSteps) {
  TempDir dir(L"sorv_zero");
  const std::wstring path = dir / L"z.cvd";
  Recorded progress;
  ASSERT_EQ(making::WriteZeroFile(path, 10, progress), making::FileResult::Made);
  EXPECT_EQ(ReadBytes(path), std::string(10 * MiB, '\0'));
  // 10 240 writes, a step every 102: the last one shown is 10 200 * 100 \ 10 240 = 99.
  ASSERT_EQ(progress.percents.size(), 100u);
  EXPECT_EQ(progress.percents.back(), 99);
  EXPECT_EQ(progress.percents[49], 50 * 102 * 100 / 10240);
  EXPECT_EQ(progress.begun, 1);
  EXPECT_EQ(progress.ended, 1);
}

TEST(ZeroFill, NeverOverwritesAndCleansUpAfterAFailedWrite) {
  TempDir dir(L"sorv_zero_fail");
  const std::wstring path = dir / L"z.cvd";
  Recorded progress;
  WriteBytes(path, "someone else's file");
  EXPECT_EQ(making::WriteZeroFile(path, 10, progress), making::FileResult::Exists);
  EXPECT_EQ(ReadBytes(path), "someone else's file");
  EXPECT_EQ(making::WriteZeroFile(dir / L"no such folder\\z.cvd", 10, progress),
            making::FileResult::CannotCreate);

  // A short write and a failed write: the loop stops there, the window goes, the file too.
  for (DWORD shortBy : {DWORD(1), DWORD(1024)}) {
    DeleteFileW(path.c_str());
    int writes = 0;
    auto old = making::SetZeroWriter([&](HANDLE h, const void* data, DWORD size, DWORD* written) {
      if (++writes < 5) return WriteFile(h, data, size, written, nullptr);
      *written = size - shortBy;
      return BOOL(shortBy != size);
    });
    Recorded failing;
    EXPECT_EQ(making::WriteZeroFile(path, 10, failing), making::FileResult::WriteFailed);
    making::SetZeroWriter(old);
    EXPECT_EQ(writes, 5);
    EXPECT_EQ(failing.ended, 1);
    EXPECT_FALSE(forms::FileExists(path));
  }
}

TEST(SparseFile, MadeByTheProgramAndChecked) {
  TempDir dir(L"sorv sparse");  // a blank in the folder: the path travels quoted
  const std::wstring path = dir / L"s.cvd";
  Recorded progress;
  ASSERT_EQ(making::MakeSparseFile(making::SparseProgram(), path, 10, progress),
            making::FileResult::Made);
  EXPECT_EQ(ReadBytes(path).size(), size_t(10 * MiB));
  // 100 rounds: the percentage steps by 1 from 1 to 100.
  std::vector<int> expected;
  for (int p = 1; p <= 100; ++p) expected.push_back(p);
  EXPECT_EQ(progress.percents, expected);

  // An existing file: the program refuses it and leaves it as it was.
  WriteBytes(path, "mine");
  EXPECT_EQ(making::MakeSparseFile(making::SparseProgram(), path, 10, progress),
            making::FileResult::SparseFailed);
  EXPECT_EQ(ReadBytes(path), "mine");
  EXPECT_EQ(making::MakeSparseFile(dir / L"SorvSparse.exe", dir / L"t.cvd", 10, progress),
            making::FileResult::SparseMissing);
}

TEST(SparseFile, WaitGrowsWithTheSizeAndStaysBounded) {
  EXPECT_LT(making::SparseWaitMs(10), making::SparseWaitMs(4000000));
  EXPECT_LE(making::SparseWaitMs(INT32_MAX), 0x7FFFFFFFu);
}

TEST(Keys, WrappedKeyUnwrapsToTheDiskKeyStart) {
  const std::string wrapped = making::NewWrappedKey(L"password");
  ASSERT_EQ(wrapped.size(), 24u);
  char plain[64] = {};
  sorvlib::AESDecryptB64(wrapped.c_str(), "password", plain);
  const std::string key = CutAtNul(std::string(plain, sizeof plain));
  EXPECT_EQ(key.size(), 16u);
  EXPECT_EQ(
      key.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/"),
      std::string::npos);
  EXPECT_NE(making::NewWrappedKey(L"password"), wrapped);  // a new key every time
}

TEST(Paths, OnlyThoseThatSurviveTheAnsiCodePage) {
  const std::pair<const wchar_t*, bool> rows[] = {
      {L"C:\\加密\\我的.cvd", true},  // code page 936 holds these
      {L"C:\\plain\\box.cvd", true},
      {L"C:\\\u0100.cvd", false},  // Ā: best fit "A" would name another file
      {L"C:\\\U0001F600.cvd", false},
  };
  for (auto [path, ok] : rows) EXPECT_EQ(making::SurvivesAnsi(path), ok) << forms::ToAnsi(path);
}

}  // namespace
