#include <gtest/gtest.h>

#include "ContainerList.h"
#include "ScriptedRuntime.h"
#include "TempDir.h"

namespace {

class ListTest : public ::testing::Test {
 protected:
  TempDir dir{L"sorv_list"};
  std::wstring ini = dir / L"List.ini";
  ContainerList list{ini};
  testsupport::ScriptedRuntime runtime;

  // Count and the CvdFileList keys in file order: "Count=n;1=a;2=b".
  std::wstring Layout() {
    wchar_t count[64], keys[4096];
    GetPrivateProfileStringW(L"CvdFileCount", L"Count", L"<none>", count, 64, ini.c_str());
    std::wstring out = L"Count=" + std::wstring(count);
    DWORD n = GetPrivateProfileSectionW(L"CvdFileList", keys, 4096, ini.c_str());
    for (const wchar_t* k = keys; k < keys + n && *k; k += wcslen(k) + 1)
      out += L";" + std::wstring(k);
    return out;
  }
  void Fill(std::initializer_list<const wchar_t*> paths) {
    for (auto p : paths) ASSERT_EQ(list.Append(p), ListResult::Done);
  }
};

TEST_F(ListTest, AppendThenRemoveMiddleFirstLastOnly) {
  std::vector<std::wstring> rows{L"stale"};
  EXPECT_EQ(list.Load(rows), ListResult::Done);  // no file: an empty list
  EXPECT_TRUE(rows.empty());
  Fill({L"a", L"D:\\加密 盘\\b.cvd", L"c", L"d"});
  EXPECT_EQ(list.Load(rows), ListResult::Done);
  EXPECT_EQ(rows, (std::vector<std::wstring>{L"a", L"D:\\加密 盘\\b.cvd", L"c", L"d"}));
  const std::tuple<int, const wchar_t*, const wchar_t*> removals[] = {
      // row 0: by path
      {2, L"D:\\加密 盘\\b.cvd", L"Count=3;1=a;2=c;3=d"},
      {1, L"a", L"Count=2;1=c;2=d"},
      {2, L"d", L"Count=1;1=c"},
      {0, L"c", L"Count=0"}};
  for (auto [row, path, layout] : removals) {
    EXPECT_EQ(row ? list.RemoveAt(row, path) : list.RemovePath(path), ListResult::Done);
    EXPECT_EQ(Layout(), layout);
  }
  EXPECT_TRUE(runtime.boxes.empty());
}

TEST_F(ListTest, RemovalNeverTakesAnotherContainersKey) {
  Fill({L"a", L"b", L"c"});
  // The window showed a, b, c; meanwhile another program removed a.
  ASSERT_EQ(ContainerList(ini).RemovePath(L"a"), ListResult::Done);
  EXPECT_EQ(list.RemoveAt(2, L"b"), ListResult::Done);  // row 2 is b, now key 1
  EXPECT_EQ(Layout(), L"Count=1;1=c");
  const std::string before = ReadBytes(ini);
  EXPECT_EQ(list.RemoveAt(3, L"gone"), ListResult::NotFound);
  EXPECT_EQ(list.RemoveAt(1, L"C"), ListResult::NotFound);  // paths compare exactly
  EXPECT_EQ(ReadBytes(ini), before);
}

TEST_F(ListTest, WizardAppendSkipsListedPath) {
  EXPECT_EQ(list.AppendUnlisted(L"E:\\Sorvane.cvd"), ListResult::Done);  // creates the file
  const std::string before = ReadBytes(ini);
  EXPECT_EQ(list.AppendUnlisted(L"E:\\Sorvane.cvd"), ListResult::AlreadyListed);
  EXPECT_EQ(ReadBytes(ini), before);
  EXPECT_EQ(list.AppendUnlisted(L"F:\\Sorvane.cvd"), ListResult::Done);
  EXPECT_EQ(Layout(), L"Count=2;1=E:\\Sorvane.cvd;2=F:\\Sorvane.cvd");
}

TEST_F(ListTest, DamagedOrFullListIsNeverWritten) {
  for (const char* count :
       {"", "Count=\r\n", "Count=abc\r\n", "Count=-1\r\n", "Count=40000\r\n", "Count=2x\r\n"}) {
    SCOPED_TRACE(count);
    WriteBytes(ini,
               std::string("[CvdFileCount]\r\n") + count + "[CvdFileList]\r\n1=C:\\keep.cvd\r\n");
    const std::string before = ReadBytes(ini);
    std::vector<std::wstring> rows{L"x"};
    EXPECT_EQ(list.Load(rows), ListResult::Damaged);
    EXPECT_TRUE(rows.empty());
    runtime.boxes.clear();
    EXPECT_EQ(list.CanAppend(), ListResult::Damaged);
    EXPECT_EQ(list.Append(L"C:\\new.cvd"), ListResult::Damaged);
    EXPECT_EQ(list.AppendUnlisted(L"C:\\new.cvd"), ListResult::Damaged);
    EXPECT_EQ(list.RemoveAt(1, L"C:\\keep.cvd"), ListResult::Damaged);
    EXPECT_EQ(list.RemovePath(L"C:\\keep.cvd"), ListResult::Damaged);
    EXPECT_EQ(ReadBytes(ini), before);
    ASSERT_EQ(runtime.boxes.size(), 5u);
    EXPECT_EQ(runtime.boxes[0].title, L"错误");
    EXPECT_NE(runtime.boxes[0].prompt.find(L"已损坏"), std::wstring::npos);
  }
  WriteBytes(ini, "[CvdFileCount]\r\nCount=32767\r\n");
  runtime.boxes.clear();
  EXPECT_EQ(list.CanAppend(), ListResult::Full);
  EXPECT_EQ(list.Append(L"C:\\one-too-many.cvd"), ListResult::Full);
  EXPECT_EQ(Layout(), L"Count=32767");
  ASSERT_EQ(runtime.boxes.size(), 2u);
  EXPECT_EQ(runtime.boxes[0].title, L"注意");
}

}  // namespace
