#include <gtest/gtest.h>

#include "host.h"

using namespace sorvbutton;
using namespace sorvbutton::test;

TEST(PropertyBag, NewControlSavedAndLoadedKeepsItsValues) {
  HostWindow host;
  SorvButton made, loaded;
  made.container.Name = L"btnCreateFile";
  ASSERT_TRUE(made.Create(host.hwnd, 10, 10, 90, 30));
  made.InitProperties();
  PropertyBag bag;
  made.WriteProperties(bag);
  ASSERT_TRUE(loaded.Create(host.hwnd, 10, 50, 90, 30));
  loaded.ReadProperties(bag);
  EXPECT_EQ(loaded.Style(), 0);
  EXPECT_EQ(loaded.IconAlign(), 0);
  EXPECT_EQ(loaded.NonThemeStyle(), 0);
  EXPECT_EQ(loaded.MaskColor(), 0u);
  EXPECT_EQ(loaded.Caption(), L"btnCreateFile");
  EXPECT_EQ(loaded.ToolTipType(), 1);
  EXPECT_EQ(loaded.HighlightColor(), Colour(GetSysColor(COLOR_HIGHLIGHT)));
}

TEST(PropertyBag, EmptyBagGivesTheLoadDefaultsAndWritesOnlyTheAlwaysKeys) {
  HostWindow host;
  SorvButton b;
  ASSERT_TRUE(b.Create(host.hwnd, 10, 10, 90, 30));
  b.ReadProperties(PropertyBag{});
  EXPECT_EQ(b.Style(), 3);
  EXPECT_EQ(b.Caption(), L"SorvButton");
  EXPECT_EQ(b.IconAlign(), 1);
  EXPECT_EQ(b.NonThemeStyle(), 5);
  EXPECT_EQ(b.MaskColor(), 0xC0C0C0u);
  EXPECT_EQ(b.ToolTipType(), 1);
  // Crossed over, as system-colour references: both are sent, so the tip stays readable.
  EXPECT_EQ(b.ToolTipBackColor(), Colour(0x80000000u | COLOR_INFOTEXT));
  EXPECT_EQ(b.ToolTipForeColor(), Colour(0x80000000u | COLOR_INFOBK));
  PropertyBag bag;
  b.WriteProperties(bag);
  for (const char* key : {"Icon", "Tooltiptitle", "ToolTipIcon", "ToolTipType", "Font"})
    EXPECT_TRUE(bag.Has(key)) << key;
  EXPECT_EQ(bag.Count(), 5u);

  b.Caption(L"");
  b.MousePointer(11);
  PropertyBag changed;
  b.WriteProperties(changed);
  EXPECT_TRUE(changed.Has("Caption"));
  EXPECT_EQ(changed.Read<std::int16_t>("MousePointer", 0), 11);  // a 16-bit value
  SorvButton again;
  ASSERT_TRUE(again.Create(host.hwnd, 10, 50, 90, 30));
  again.ReadProperties(changed);
  EXPECT_EQ(again.Caption(), L"");
  EXPECT_EQ(again.MousePointer(), 11);
}

TEST(PropertyBag, HostValuesComeThroughTheBag) {
  HostWindow host;
  PropertyBag bag;
  LOGFONTW lf{};
  lf.lfHeight = -16;
  wcscpy(lf.lfFaceName, L"SimSun");
  bag.WriteAlways<std::wstring>("Caption", L"创建容器");
  bag.WriteAlways<std::int32_t>("IconSize", 24);
  bag.WriteAlways<std::int32_t>("CaptionAlign", 1);
  bag.WriteAlways<LOGFONTW>("Font", lf);
  bag.WriteAlways<std::wstring>("ToolTipText", L"新建一个加密盘");
  bag.WriteAlways<bool>("Enabled", false);
  SorvButton b;
  ASSERT_TRUE(b.Create(host.hwnd, 10, 10, 120, 40));
  b.ReadProperties(bag);
  EXPECT_EQ(b.Caption(), L"创建容器");
  EXPECT_EQ(b.IconSize(), 24);
  EXPECT_EQ(b.CaptionFormat(), UINT(DT_SINGLELINE | DT_VCENTER | DT_LEFT));
  EXPECT_EQ(b.Font().lfHeight, -16);
  EXPECT_STREQ(b.Font().lfFaceName, L"SimSun");
  EXPECT_EQ(b.ContainerToolTipText(), L"新建一个加密盘");
  EXPECT_FALSE(IsWindowEnabled(b.Window()));  // a disabled button takes no clicks
  PropertyBag saved;
  b.WriteProperties(saved);
  // The container keeps the same text, so the control does not store it twice.
  EXPECT_FALSE(saved.Has("ToolTipText"));
}

// The keys spelled oddly are read and written under exactly these names, as saved forms hold
// them: a misspelling alike on both sides would pass a round trip.
TEST(PropertyBag, OddlySpelledKeysAreTheSavedNames) {
  HostWindow host;
  PropertyBag bag;
  bag.WriteAlways<bool>("USeCustomColors", true);
  bag.WriteAlways<std::int32_t>("iNonThemeStyle", 2);
  bag.WriteAlways<std::int32_t>("ttBackColor", 0x123456);
  bag.WriteAlways<std::int32_t>("ttForeColor", 0x654321);
  SorvButton b;
  ASSERT_TRUE(b.Create(host.hwnd, 10, 10, 90, 30));
  b.ReadProperties(bag);
  EXPECT_TRUE(b.UseCustomColors());
  EXPECT_EQ(b.NonThemeStyle(), 2);
  EXPECT_EQ(b.ToolTipBackColor(), Colour(0x123456));
  EXPECT_EQ(b.ToolTipForeColor(), Colour(0x654321));
  PropertyBag saved;
  b.WriteProperties(saved);
  EXPECT_TRUE(saved.Read<bool>("USeCustomColors", false));
  EXPECT_EQ(saved.Read<std::int32_t>("iNonThemeStyle", 0), 2);
  EXPECT_EQ(saved.Read<std::int32_t>("ttBackColor", 0), 0x123456);
  EXPECT_EQ(saved.Read<std::int32_t>("ttForeColor", 0), 0x654321);
}
