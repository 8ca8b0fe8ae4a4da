#include <gtest/gtest.h>

#include <vector>

#include "host.h"
#include "subclass.h"

using namespace sorvbutton;
using namespace sorvbutton::test;

namespace {
struct Recorder : SubclassClient {
  std::vector<UINT> seen;
  long zSubclass_Proc(bool before, bool&, LRESULT&, HWND, UINT m, WPARAM, LPARAM) override {
    if (before) seen.push_back(m);
    return 0;
  }
};
}  // namespace

TEST(Subclass, MessageTablesAndUnhooking) {
  HostWindow host;
  HWND w = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, host.hwnd, nullptr, nullptr,
                           nullptr);
  ASSERT_NE(w, nullptr);
  LONG_PTR original = GetWindowLongPtrW(w, GWLP_WNDPROC);
  Recorder rec;
  {
    Subclasser sc(rec);
    ASSERT_GE(sc.StartSubclass(w), 0);
    sc.AddMessage(w, WM_USER + 1, 1);
    sc.AddMessage(w, WM_USER + 1, 1);  // already there: no second entry
    sc.AddMessage(w, WM_USER + 2, 3);
    EXPECT_EQ(sc.TableCount(w, 1), 2);
    EXPECT_EQ(sc.TableCount(w, 2), 1);
    SendMessageW(w, WM_USER + 1, 0, 0);
    SendMessageW(w, WM_USER + 3, 0, 0);  // not registered
    EXPECT_EQ(rec.seen, std::vector<UINT>{WM_USER + 1});
    sc.RemoveMessage(w, WM_USER + 1, 1);
    EXPECT_EQ(sc.TableCount(w, 1), 2);  // the slot is freed, the count stays
    sc.AddMessage(w, WM_USER + 4, 1);
    EXPECT_EQ(sc.TableCount(w, 1), 2);  // the free slot is taken
    SendMessageW(w, WM_USER + 1, 0, 0);
    SendMessageW(w, WM_USER + 4, 0, 0);
    EXPECT_EQ(rec.seen.back(), UINT(WM_USER + 4));
    sc.AddMessage(w, kAllMessages, 1);
    EXPECT_EQ(sc.TableCount(w, 1), -1);
    rec.seen.clear();
    SendMessageW(w, WM_USER + 9, 0, 0);
    EXPECT_EQ(rec.seen, std::vector<UINT>{WM_USER + 9});
    sc.RemoveMessage(w, kAllMessages, 1);
    EXPECT_EQ(sc.TableCount(w, 1), 0);

    // A second hook of the same window makes a second record; unhooking one keeps the other.
    Recorder rec2;
    Subclasser sc2(rec2);
    sc2.StartSubclass(w);
    sc2.AddMessage(w, WM_USER + 5, 1);
    sc.AddMessage(w, WM_USER + 5, 1);
    SendMessageW(w, WM_USER + 5, 0, 0);
    EXPECT_EQ(rec2.seen.size(), 1u);
    sc.StopSubclass(w);
    EXPECT_FALSE(sc.IsHooked(w));
    SendMessageW(w, WM_USER + 5, 0, 0);
    EXPECT_EQ(rec2.seen.size(), 2u);
    sc2.StopSubclass(w);
    EXPECT_EQ(GetWindowLongPtrW(w, GWLP_WNDPROC), original);
  }
  // A window destroyed while hooked frees its record.
  Recorder rec3;
  Subclasser sc3(rec3);
  sc3.StartSubclass(w);
  DestroyWindow(w);
  EXPECT_FALSE(sc3.IsHooked(w));
}

TEST(About, VersionPanelAndLink) {
  HostWindow host;
  SorvButton b;
  b.Create(host.hwnd, 10, 10, 90, 30);
  b.InitProperties();
  HWND panel = b.AboutWindow();
  ASSERT_NE(panel, nullptr);
  EXPECT_FALSE(IsWindowVisible(panel));
  b.About();
  wchar_t title[64];
  GetWindowTextW(panel, title, 64);
  EXPECT_STREQ(title, L"About SorvButton 3.4.0");
  EXPECT_TRUE(IsWindowVisible(panel));
  EXPECT_EQ(GetAncestor(panel, GA_PARENT), GetDesktopWindow());
  EXPECT_TRUE(GetWindowLongW(panel, GWL_EXSTYLE) & WS_EX_TOPMOST);
  Send(panel, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  Send(panel, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  EXPECT_FALSE(IsWindowVisible(panel));
  b.About();
  EXPECT_TRUE(IsWindowVisible(panel));
  EXPECT_LE(b.OpenLink(L"Z:\\no\\such\\file.sorvtest"), 32);
}
