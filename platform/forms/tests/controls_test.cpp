// The controls under Wine: real clicks and keys, rows, panels, menus, hosted windows.
#include <gtest/gtest.h>

#include "test_forms.h"

namespace forms_test {
namespace {

TEST(Controls, CheckBoxValueRaisesClickAndTextBoxKeyPressFilters) {
  TestForm f;
  f.Load();
  int checks = 0;
  f.Check1.Click = [&] { ++checks; };
  f.Check1.Value(1);
  EXPECT_EQ(f.Check1.Value(), 1);
  EXPECT_EQ(checks, 1);
  f.Check1.Value(1);
  EXPECT_EQ(checks, 1);

  f.Text1.KeyPress = [](int& key) {
    if (key < L'0' || key > L'9') key = 0;
  };
  int changes = 0;
  f.Text1.Change = [&] { ++changes; };
  for (wchar_t c : std::wstring(L"1a2")) SendMessageW(f.Text1.hWnd(), WM_CHAR, c, 0);
  EXPECT_EQ(f.Text1.Text(), L"12");
  f.Text1.Text(L"345");
  EXPECT_GE(changes, 3);
  f.Unload();
}

class ListForm : public Form {
 public:
  ListView ListView1;
  ImageList ImageList2;
  StatusBar StatusBar1;

 protected:
  void Design() override {
    ImageList2.Create();
    ImageList2.Add(LoadIconW(nullptr, IDI_APPLICATION));
    ImageList2.Add(LoadIconW(nullptr, IDI_WARNING));
    ListView1.Create(*this, nullptr, 10, 600, 4000, 2000);
    ListView1.SmallIcons(ImageList2);
    ListView1.FullRowSelect(true);
    for (auto* h : {L"状态", L"文件名", L"文件路径", L"文件大小"}) ListView1.AddColumn(h, 900);
    StatusBar1.Create(*this);
    StatusBar1.AddPanel(StatusBar::Text, Align::Left, StatusBar::Spring, false);
    StatusBar1.AddPanel(StatusBar::Date, Align::Right, StatusBar::Contents, false);
    StatusBar1.AddPanel(StatusBar::Time, Align::Right, StatusBar::Contents, false);
  }
};

TEST(Controls, ListViewRowsSubItemsIconsAndSelection) {
  ListForm f;
  f.Show();
  EXPECT_EQ(f.ListView1.ColumnCount(), 4);
  int r1 = f.ListView1.Add(L"", 1);
  f.ListView1.SubItem(r1, 1, L"Sorvane.cvd");
  f.ListView1.SubItem(r1, 2, L"C:\\数据\\");
  f.ListView1.SubItem(r1, 3, L"10M");
  int r2 = f.ListView1.Add(L"", 1);
  f.ListView1.SubItem(r2, 1, L"b.cvd");
  EXPECT_EQ(r2, 2);
  EXPECT_EQ(f.ListView1.Count(), 2);
  EXPECT_EQ(f.ListView1.SubItem(1, 2) + f.ListView1.SubItem(1, 1), L"C:\\数据\\Sorvane.cvd");
  f.ListView1.SmallIcon(2, 2);
  EXPECT_EQ(f.ListView1.SmallIcon(2), 2);
  EXPECT_EQ(f.ListView1.SmallIcon(1), 1);
  EXPECT_EQ(f.ListView1.SelectedItem(), 0);
  f.ListView1.Select(2);
  EXPECT_EQ(f.ListView1.SelectedItem(), 2);
  // A right click on the list raises MouseUp once, with the right button.
  std::vector<int> ups;
  f.ListView1.MouseUp = [&](int button, int, int, int) { ups.push_back(button); };
  PostMessageW(f.ListView1.hWnd(), WM_RBUTTONUP, 0, MAKELPARAM(30, 30));
  SendMessageW(f.ListView1.hWnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(30, 30));
  DoEvents();
  EXPECT_EQ(ups, std::vector<int>{2});

  f.ListView1.Remove(1);
  EXPECT_EQ(f.ListView1.Count(), 1);
  EXPECT_EQ(f.ListView1.SubItem(1, 1), L"b.cvd");

  f.StatusBar1.PanelText(1, L"Velkiro，电脑里的保险箱");
  EXPECT_EQ(f.StatusBar1.PanelText(1), L"Velkiro，电脑里的保险箱");
  EXPECT_FALSE(f.StatusBar1.PanelText(2).empty());
  EXPECT_GT(f.StatusBar1.Height(), 0);
  f.Unload();
}

// Every panel has its own tip over its own rectangle, a text panel that is not cut short
// included, and the tips follow the panels when the window is resized.
TEST(Controls, StatusBarPanelTipsCoverTheirPanels) {
  ListForm f;
  f.Show();
  StatusBar& bar = f.StatusBar1;
  bar.PanelText(1, L"Velkiro提醒您注意时常备份加密盘");
  const wchar_t* tips[] = {L"欢迎使用“Velkiro”磁盘加密软件，祝你用得开心！", L"日期", L"时间"};
  for (int p = 1; p <= 3; ++p) bar.PanelToolTip(p, tips[p - 1]);
  bar.PanelToolTip(2, L"今天");
  ASSERT_NE(bar.TipWindow(), nullptr);
  EXPECT_EQ(SendMessageW(bar.TipWindow(), TTM_GETTOOLCOUNT, 0, 0), 3);
  auto tipAt = [&](int panel) {
    RECT r{};
    bar.Send(SB_GETRECT, panel - 1, reinterpret_cast<LPARAM>(&r));
    TTHITTESTINFOW hit{};
    hit.hwnd = bar.hWnd();
    hit.pt = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    hit.ti.cbSize = sizeof hit.ti;
    wchar_t text[256] = {};
    hit.ti.lpszText = text;
    if (!SendMessageW(bar.TipWindow(), TTM_HITTESTW, 0, reinterpret_cast<LPARAM>(&hit))) return -1;
    return int(hit.ti.uId);
  };
  for (int p = 1; p <= 3; ++p) EXPECT_EQ(tipAt(p), p);
  EXPECT_EQ(bar.PanelToolTip(1), tips[0]);
  EXPECT_EQ(bar.PanelToolTip(2), L"今天");
  f.Width(f.Width() + 3000);
  bar.Layout();
  for (int p = 1; p <= 3; ++p) EXPECT_EQ(tipAt(p), p);
  f.Unload();
}

TEST(Controls, FrameChildMenuComboSliderSpin) {
  WideForm f;
  f.Show();
  SendMessageW(f.Command1.hWnd(), BM_CLICK, 0, 0);
  EXPECT_EQ(f.frameClicks, 1);
  EXPECT_EQ(GetParent(f.Command1.hWnd()), f.Frame1.hWnd());
  EXPECT_EQ(f.Command1.Left(), 300);  // inside the frame

  // A menu choice arrives as the command of its item.
  SendMessageW(f.hWnd(), WM_COMMAND, f.mnuCreate.Id(), 0);
  SendMessageW(f.hWnd(), WM_COMMAND, f.mnupopupCreate.Id(), 0);
  EXPECT_EQ(f.creates, 2);
  EXPECT_TRUE(GetMenu(f.hWnd()));
  f.mnuCreate.Enabled(false);
  EXPECT_TRUE(GetMenuState(f.mnuFile.Handle(), f.mnuCreate.Id(), MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_EQ(GetMenuItemCount(f.mnuFile.Handle()), 3);

  int clicks = 0;
  f.Combo1.Click = [&] { ++clicks; };
  for (auto* s : {L" 自动选择", L"H:", L"G:"}) f.Combo1.AddItem(s);
  EXPECT_EQ(f.Combo1.List(1), L"G:");  // sorted
  f.Combo1.ListIndex(2);
  EXPECT_EQ(f.Combo1.Text(), L"H:");
  EXPECT_EQ(clicks, 1);

  f.Slider1.Min(0);
  f.Slider1.Max(100);
  f.Slider1.Value(120);
  EXPECT_EQ(f.Slider1.Value(), 100);

  NMUPDOWN ud{};
  ud.hdr = {f.SpinButton1.hWnd(), static_cast<UINT_PTR>(f.SpinButton1.Id()), UDN_DELTAPOS};
  ud.iDelta = 1;
  SendMessageW(f.hWnd(), WM_NOTIFY, ud.hdr.idFrom, reinterpret_cast<LPARAM>(&ud));
  SendMessageW(f.hWnd(), WM_NOTIFY, ud.hdr.idFrom, reinterpret_cast<LPARAM>(&ud));
  ud.iDelta = -1;
  SendMessageW(f.hWnd(), WM_NOTIFY, ud.hdr.idFrom, reinterpret_cast<LPARAM>(&ud));
  EXPECT_EQ(f.spins, 1);
  f.Unload();
}

// An outside control: its own window, adopted by the form, told of its notifications.
class OutsideButton : public Control {
 public:
  int clicks = 0;
  void Create(Form& form) {
    HWND h = CreateWindowExW(0, L"BUTTON", L"创建", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 10, 10,
                             80, 40, form.hWnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
    Attach(form, h);
  }

 protected:
  bool Reflect(UINT msg, WPARAM wp, LPARAM, LRESULT& result) override {
    if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) ++clicks;
    if (msg == WM_DRAWITEM) result = TRUE;
    return msg == WM_COMMAND || msg == WM_DRAWITEM;
  }
};

TEST(Controls, OutsideControlIsHosted) {
  WideForm f;
  f.Show();
  OutsideButton b;
  b.Create(f);
  SendMessageW(b.hWnd(), BM_CLICK, 0, 0);
  EXPECT_EQ(b.clicks, 1);
  EXPECT_EQ(b.Width(), TwipsX(80));
  b.Enabled(false);
  EXPECT_FALSE(IsWindowEnabled(b.hWnd()));
  f.Unload();
  EXPECT_EQ(b.hWnd(), nullptr);
}

}  // namespace
}  // namespace forms_test
