#include <gtest/gtest.h>

#include "SparseArgs.h"

namespace {

TEST(SparseArgs, PathQuotedOrBareThenSizeInMiB) {
  struct Row {
    const wchar_t* line;
    const wchar_t* path;  // null: refused
    uint64_t bytes;
  };
  const Row rows[] = {
      {L"\"C:\\Program Files\\a b.cvd\" 10M", L"C:\\Program Files\\a b.cvd", 10ull << 20},
      {L"E:\\Sorvane.cvd 500M", L"E:\\Sorvane.cvd", 500ull << 20},
      {L"  C:\\my box.cvd   4000M ", L"C:\\my box.cvd", 4000ull << 20},  // bare, with a blank
      {L"E:\\x.cvd 4194304M", L"E:\\x.cvd", 1ull << 42},                 // 4 TiB: 64-bit
      {L"E:\\x.cvd 0M", nullptr, 0},
      {L"E:\\x.cvd 10", nullptr, 0},
      {L"E:\\x.cvd 10m", nullptr, 0},
      {L"E:\\x.cvd -5M", nullptr, 0},
      {L"E:\\x.cvd 9999999999999999999999M", nullptr, 0},
      {L"10M", nullptr, 0},
      {L"\"\" 10M", nullptr, 0},
      {L"", nullptr, 0},
  };
  for (const Row& r : rows) {
    auto args = sparse::ParseArgs(r.line);
    if (!r.path) {
      EXPECT_FALSE(args) << testing::PrintToString(std::wstring(r.line));
      continue;
    }
    ASSERT_TRUE(args) << testing::PrintToString(std::wstring(r.line));
    EXPECT_EQ(args->path, r.path);
    EXPECT_EQ(args->bytes, r.bytes);
  }
}

TEST(SparseArgs, ProgramNameSkipped) {
  EXPECT_EQ(sparse::SkipProgramName(L"\"C:\\Program Files\\S\\SorvSparse.exe\" \"a b\" 10M"),
            L"\"a b\" 10M");
  EXPECT_EQ(sparse::SkipProgramName(L"SorvSparse.exe x 10M"), L"x 10M");
  EXPECT_EQ(sparse::SkipProgramName(L"SorvSparse.exe"), L"");
}

}  // namespace
