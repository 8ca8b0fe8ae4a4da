#include <gtest/gtest.h>

#include "SavedSettings.h"
#include "TempDir.h"
#include "TipOfDay.h"
#include "TipsFile.h"

namespace {

class TipTest : public ::testing::Test {
 protected:
  SavedSettings keep{L"LastTipsLine", L"TipsOfDay"};
  TempDir dir{L"sorv_tips"};

  // Loads the dialog as a program would (without its modal loop) on the given tips, if any.
  void Open(TipOfDay& dialog, const char* tips) {
    dialog.TipsFile = dir / L"tips.dat";
    if (tips) WriteBytes(dialog.TipsFile, tips);
    dialog.Load();
  }
};

TEST_F(TipTest, OrderAndWrap) {
  const char* five = "one\r\ntwo\r\nthree\r\nfour\r\nfive";
  struct Row {
    const char* tips;
    const wchar_t *last, *shown, *next, *lastAfter, *beforeNext = nullptr;
  } const rows[] = {
      {five, nullptr, L"one", L"two", L"2"},
      {five, L"3", L"four", L"five", L"5"},
      {five, L"4", L"five", L"one", L"1"},
      {five, L"5", L"one", L"two", L"2"},         // after the last tip: start again
      {five, L"77", L"one", L"one", L"1", L"9"},  // beyond the file (it got shorter)
      {"one\r\ntwo\r\nthree\r\n\r\n", L"2", L"three", L"one", L"1"},  // no empty tip at the end
      {"one\ntwo\rthree", L"1", L"two", L"three", L"3"},
      {"", L"4", L"", L"", L"4"},  // no tips: the dialog still opens, the place is kept
      {nullptr, L"4", L"", L"", L"4"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << (r.tips ? r.tips : "no file") << " from " << r.last);
    DeleteFileW((dir / L"tips.dat").c_str());
    if (r.last) SetSetting(L"LastTipsLine", r.last);  // the first row runs without one
    TipOfDay d(TipOfDay::Placement::Desk);
    Open(d, r.tips);
    EXPECT_EQ(d.Label2.Caption(), std::wstring(L"\r\n\r\n") + r.shown);
    if (r.beforeNext) SetSetting(L"LastTipsLine", r.beforeNext);
    d.Command1.Send(BM_CLICK);
    EXPECT_EQ(d.Label2.Caption(), std::wstring(L"\r\n\r\n") + r.next);
    EXPECT_EQ(GetSetting(L"LastTipsLine"), r.lastAfter);
    d.Unload();
  }
}

TEST_F(TipTest, CloseButtonClearsShowOnceAndShowAtStartIsKept) {
  bool showOnce = true;
  TipOfDay first(TipOfDay::Placement::Desk, &showOnce), again(TipOfDay::Placement::Desk, &showOnce);
  Open(first, "one");
  EXPECT_EQ(first.Check1.Value(), 1);
  first.Check1.Value(0);
  first.Command2.Send(BM_CLICK);
  EXPECT_FALSE(first.IsLoaded() || showOnce);
  showOnce = true;
  Open(again, "one");
  EXPECT_EQ(again.Check1.Value(), 0);
  again.Unload();  // as through the title bar: the flag stays
  EXPECT_TRUE(showOnce);
}

TEST(ShippedTips, TwelveChineseTipsInGbk) {
  const std::wstring file = forms::AppPath() + L"\\tips.dat";
  ASSERT_EQ(AllLineNumber(file), 12);
  EXPECT_EQ(GetTips(file, 1).substr(0, 5), L"加密盘的密");
  for (int i = 1; i <= 12; ++i)
    EXPECT_EQ(GetTips(file, i).find(L'\xFFFD'), std::wstring::npos) << i;
}

}  // namespace
