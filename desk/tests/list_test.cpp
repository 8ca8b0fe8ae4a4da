#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "ContainerList.h"
#include "MsgBoxLog.h"
#include "TempDir.h"

namespace {

class ListTest : public ::testing::Test {
protected:
  TempDir dir{L"sorv_list"};
  std::wstring ini = dir / L"List.ini";
  ContainerList list{ini};
  MsgBoxLog boxes;

  // The file's CvdFileList as "key=value" lines in file order, Count in front.
  std::wstring Layout() {
    wchar_t count[64];
    GetPrivateProfileStringW(L"CvdFileCount", L"Count", L"<none>", count, 64, ini.c_str());
    std::wstring out = L"Count=" + std::wstring(count);
    wchar_t keys[4096];
    DWORD n = GetPrivateProfileStringW(L"CvdFileList", nullptr, L"", keys, 4096, ini.c_str());
    for (const wchar_t* k = keys; k < keys + n && *k; k += wcslen(k) + 1) {
      wchar_t value[1024];
      GetPrivateProfileStringW(L"CvdFileList", k, L"", value, 1024, ini.c_str());
      out += L";" + std::wstring(k) + L"=" + value;
    }
    return out;
  }
  std::string Bytes() {
    std::ifstream f(std::filesystem::path(ini), std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
  }
  void Write(const std::string& text) { std::ofstream(std::filesystem::path(ini), std::ios::binary) << text; }
  void Fill(std::initializer_list<const wchar_t*> paths) {
    for (auto p : paths) ASSERT_EQ(list.Append(p), ListResult::Done);
  }
};

TEST_F(ListTest, AppendCreatesThenExtends) {
  std::vector<std::wstring> rows{L"stale"};
  EXPECT_EQ(list.Load(rows), ListResult::Done);  // no file: empty list
  EXPECT_TRUE(rows.empty());
  Fill({L"C:\\a.cvd", L"D:\\加密 盘\\b.cvd", L"\\\\srv\\share\\c.cvd"});
  EXPECT_EQ(Layout(), L"Count=3;1=C:\\a.cvd;2=D:\\加密 盘\\b.cvd;3=\\\\srv\\share\\c.cvd");
  EXPECT_EQ(list.Load(rows), ListResult::Done);
  EXPECT_EQ(rows, (std::vector<std::wstring>{L"C:\\a.cvd", L"D:\\加密 盘\\b.cvd",
                                             L"\\\\srv\\share\\c.cvd"}));
  EXPECT_TRUE(boxes.calls.empty());
}

TEST_F(ListTest, RemoveFirstMiddleLastOnly) {
  Fill({L"a", L"b", L"c", L"d"});
  EXPECT_EQ(list.RemoveAt(2, L"b"), ListResult::Done);
  EXPECT_EQ(Layout(), L"Count=3;1=a;2=c;3=d");
  EXPECT_EQ(list.RemoveAt(1, L"a"), ListResult::Done);
  EXPECT_EQ(Layout(), L"Count=2;1=c;2=d");
  EXPECT_EQ(list.RemoveAt(2, L"d"), ListResult::Done);
  EXPECT_EQ(Layout(), L"Count=1;1=c");
  EXPECT_EQ(list.RemovePath(L"c"), ListResult::Done);
  EXPECT_EQ(Layout(), L"Count=0");
  std::vector<std::wstring> rows;
  EXPECT_EQ(list.Load(rows), ListResult::Done);
  EXPECT_TRUE(rows.empty());
}

TEST_F(ListTest, RemovalNeverTakesAnotherContainersKey) {
  Fill({L"a", L"b", L"c"});
  // The window showed a, b, c; meanwhile another program removed a.
  ASSERT_EQ(ContainerList(ini).RemovePath(L"a"), ListResult::Done);
  EXPECT_EQ(list.RemoveAt(2, L"b"), ListResult::Done);  // row 2 is b, now key 1
  EXPECT_EQ(Layout(), L"Count=1;1=c");
  // A row the file no longer holds, or beyond its end: nothing changes.
  const std::string before = Bytes();
  EXPECT_EQ(list.RemoveAt(3, L"gone"), ListResult::NotFound);
  EXPECT_EQ(list.RemoveAt(1, L"C"), ListResult::NotFound);  // paths compare exactly
  EXPECT_EQ(list.RemovePath(L"gone"), ListResult::NotFound);
  EXPECT_EQ(Bytes(), before);
}

TEST_F(ListTest, WizardAppendSkipsListedPath) {
  Fill({L"E:\\Sorvane.cvd"});
  const std::string before = Bytes();
  EXPECT_EQ(list.AppendUnlisted(L"E:\\Sorvane.cvd"), ListResult::AlreadyListed);
  EXPECT_EQ(Bytes(), before);
  EXPECT_EQ(list.AppendUnlisted(L"F:\\Sorvane.cvd"), ListResult::Done);
  EXPECT_EQ(Layout(), L"Count=2;1=E:\\Sorvane.cvd;2=F:\\Sorvane.cvd");
  // On a missing file the wizard creates it like the management program.
  DeleteFileW(ini.c_str());
  EXPECT_EQ(list.AppendUnlisted(L"G:\\Sorvane.cvd"), ListResult::Done);
  EXPECT_EQ(Layout(), L"Count=1;1=G:\\Sorvane.cvd");
}

TEST_F(ListTest, BlanksAroundValuesAreDropped) {
  Write("[CvdFileCount]\r\nCount= 2 \r\n[CvdFileList]\r\n1=  C:\\x.cvd  \r\n2=\r\n");
  std::vector<std::wstring> rows;
  EXPECT_EQ(list.Load(rows), ListResult::Done);
  EXPECT_EQ(rows, (std::vector<std::wstring>{L"C:\\x.cvd", L""}));
  Write("[CvdFileCount]\r\nCount=0\r\n");
  EXPECT_EQ(list.Load(rows), ListResult::Done);
  EXPECT_TRUE(rows.empty());
}

TEST_F(ListTest, DamagedCountLoadsEmptyAndIsNeverWritten) {
  for (const char* count : {"", "Count=\r\n", "Count=abc\r\n", "Count=-1\r\n", "Count=40000\r\n",
                            "Count=2x\r\n"}) {
    SCOPED_TRACE(count);
    Write(std::string("[CvdFileCount]\r\n") + count + "[CvdFileList]\r\n1=C:\\keep.cvd\r\n");
    const std::string before = Bytes();
    std::vector<std::wstring> rows{L"x"};
    EXPECT_EQ(list.Load(rows), ListResult::Damaged);
    EXPECT_TRUE(rows.empty());
    boxes.calls.clear();
    EXPECT_EQ(list.Append(L"C:\\new.cvd"), ListResult::Damaged);
    EXPECT_EQ(list.AppendUnlisted(L"C:\\new.cvd"), ListResult::Damaged);
    EXPECT_EQ(list.RemoveAt(1, L"C:\\keep.cvd"), ListResult::Damaged);
    EXPECT_EQ(list.RemovePath(L"C:\\keep.cvd"), ListResult::Damaged);
    EXPECT_EQ(Bytes(), before);
    ASSERT_EQ(boxes.calls.size(), 4u);
    EXPECT_EQ(boxes.calls[0].title, L"错误");
    EXPECT_NE(boxes.calls[0].prompt.find(L"已损坏"), std::wstring::npos);
    EXPECT_NE(boxes.calls[0].prompt.find(ini), std::wstring::npos);
  }
}

TEST_F(ListTest, FullListRefusesAppend) {
  Write("[CvdFileCount]\r\nCount=32767\r\n");
  const std::string before = Bytes();
  EXPECT_EQ(list.Append(L"C:\\one-too-many.cvd"), ListResult::Full);
  EXPECT_EQ(Bytes(), before);
  ASSERT_EQ(boxes.calls.size(), 1u);
  EXPECT_EQ(boxes.calls[0].title, L"注意");
}

}  // namespace
