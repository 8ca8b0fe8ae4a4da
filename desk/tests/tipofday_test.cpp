#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "CutAtNul.h"
#include "SavedSettings.h"
#include "TempDir.h"
#include "TipOfDay.h"
#include "TipsFile.h"

namespace {

class TipTest : public ::testing::Test {
protected:
  SavedSettings keep{L"LastTipsLine", L"TipsOfDay"};
  TempDir dir{L"sorv_tips"};
  std::wstring tips = dir / L"tips.dat";

  void WriteTips(const std::string& text) { std::ofstream(std::filesystem::path(tips), std::ios::binary) << text; }

  // Opens the dialog as a program would (without its modal loop) and returns the tip shown.
  std::wstring Open(TipOfDay& dialog) {
    dialog.TipsFile = tips;
    dialog.Load();
    return dialog.Label2.Caption();
  }
  static std::wstring Next(TipOfDay& dialog) {
    dialog.Command1.Send(BM_CLICK);
    return dialog.Label2.Caption();
  }
};

TEST_F(TipTest, OrderAndWrap) {
  WriteTips("one\r\ntwo\r\nthree\r\nfour\r\nfive");
  {
    TipOfDay d(TipOfDay::Placement::Desk);
    EXPECT_EQ(Open(d), L"\r\n\r\none");  // no LastTipsLine yet: tip 1
    EXPECT_EQ(GetSetting(L"LastTipsLine"), L"1");
    EXPECT_EQ(d.Check1.Value(), 1);
    EXPECT_EQ(Next(d), L"\r\n\r\ntwo");
    d.Unload();
  }
  SetSetting(L"LastTipsLine", L"3");
  {
    TipOfDay d(TipOfDay::Placement::Desk);
    EXPECT_EQ(Open(d), L"\r\n\r\nfour");
    EXPECT_EQ(Next(d), L"\r\n\r\nfive");
    EXPECT_EQ(GetSetting(L"LastTipsLine"), L"5");
    EXPECT_EQ(Next(d), L"\r\n\r\none");
    EXPECT_EQ(GetSetting(L"LastTipsLine"), L"1");
    d.Unload();
  }
  SetSetting(L"LastTipsLine", L"5");  // the last tip: start again
  {
    TipOfDay d(TipOfDay::Placement::Desk);
    EXPECT_EQ(Open(d), L"\r\n\r\none");
    d.Unload();
  }
  SetSetting(L"LastTipsLine", L"77");  // beyond the file (it got shorter)
  {
    TipOfDay d(TipOfDay::Placement::Desk);
    EXPECT_EQ(Open(d), L"\r\n\r\none");
    SetSetting(L"LastTipsLine", L"9");
    EXPECT_EQ(Next(d), L"\r\n\r\none") << "past the end wraps to 1";
    d.Unload();
  }
}

TEST_F(TipTest, FinalLineBreakGivesNoEmptyTip) {
  WriteTips("one\r\ntwo\r\nthree\r\n");
  EXPECT_EQ(AllLineNumber(tips), 3);
  SetSetting(L"LastTipsLine", L"2");
  TipOfDay d(TipOfDay::Placement::Desk);
  EXPECT_EQ(Open(d), L"\r\n\r\nthree");
  EXPECT_EQ(Next(d), L"\r\n\r\none");
  d.Unload();
  WriteTips("a\nb\rc");
  EXPECT_EQ(AllLineNumber(tips), 3);
  EXPECT_EQ(GetTips(tips, 2), L"b");
  EXPECT_EQ(GetTips(tips, 3), L"c");
  EXPECT_EQ(GetTips(tips, 4), L"");
  EXPECT_EQ(GetTips(tips, 0), L"");
}

TEST_F(TipTest, MissingOrEmptyFileStillOpens) {
  for (bool present : {false, true}) {
    if (present) WriteTips("");
    SetSetting(L"LastTipsLine", L"4");
    TipOfDay d(TipOfDay::Placement::Desk);
    EXPECT_EQ(Open(d), L"\r\n\r\n");
    EXPECT_EQ(Next(d), L"\r\n\r\n");
    EXPECT_EQ(GetSetting(L"LastTipsLine"), L"4");
    d.Unload();
  }
}

TEST_F(TipTest, CloseButtonsAndShowAtStart) {
  WriteTips("one");
  bool showOnce = true;
  {
    TipOfDay d(TipOfDay::Placement::Desk, &showOnce);
    Open(d);
    d.Check1.Value(0);
    d.Command2.Send(BM_CLICK);
    EXPECT_FALSE(d.IsLoaded());
    EXPECT_FALSE(showOnce);
    EXPECT_EQ(GetSetting(L"TipsOfDay"), L"0");
  }
  showOnce = true;
  {
    TipOfDay d(TipOfDay::Placement::Desk, &showOnce);
    EXPECT_EQ(Open(d), L"\r\n\r\none");
    EXPECT_EQ(d.Check1.Value(), 0);
    d.Check1.Value(1);
    d.Unload();  // as through the title bar: the flag stays
    EXPECT_TRUE(showOnce);
    EXPECT_EQ(GetSetting(L"TipsOfDay"), L"1");
  }
}

TEST_F(TipTest, Placements) {
  WriteTips("one");
  TipOfDay desk(TipOfDay::Placement::Desk), tray(TipOfDay::Placement::Tray);
  Open(desk);
  Open(tray);
  const int sw = forms::Screen::Width(), sh = forms::Screen::Height();
  // Twips go through whole pixels: allow one pixel.
  EXPECT_NEAR(desk.Left(), (sw - desk.Width()) / 2, 15);
  EXPECT_NEAR(desk.Top(), (sh - desk.Height()) / 2, 15);
  EXPECT_NEAR(tray.Left(), ((sw - tray.Width()) * 2) / 3, 15);
  EXPECT_NEAR(tray.Top(), ((sh - tray.Height()) * 3) / 4, 15);
  EXPECT_EQ(desk.Label1.Caption(), L"你知道吗？");
  EXPECT_EQ(desk.Command1.Caption(), L"下一条");
  EXPECT_EQ(desk.Command2.Caption(), L"关闭");
  EXPECT_EQ(desk.Check1.Caption(), L"启动时自动显示");
  desk.Unload();
  tray.Unload();
}

TEST(ShippedTips, TwelveChineseTipsInGbk) {
  const std::wstring file = forms::AppPath() + L"\\tips.dat";
  ASSERT_EQ(AllLineNumber(file), 12);
  for (int i = 1; i <= 12; ++i) {
    std::wstring tip = GetTips(file, i);
    EXPECT_GT(tip.size(), 10u) << i;
    EXPECT_EQ(tip.find(L'\xFFFD'), std::wstring::npos) << i;
  }
  EXPECT_EQ(GetTips(file, 1).substr(0, 5), L"加密盘的密");
}

}  // namespace
