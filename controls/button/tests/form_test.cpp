// The button carried by a form of the forms runtime, as the main window carries eight.
#include <gtest/gtest.h>

#include <string>

#include "forms.h"
#include "host.h"
#include "surface.h"

using namespace sorvbutton;
using namespace sorvbutton::test;

namespace {

// One button of each style; the design-time values come through a bag, as a saved form
// holds them.
class StylesForm : public forms::Form {
 public:
  SorvButton buttons[11];
  SorvButton& btnMount = buttons[9];
  EventCount events;
  HICON icon = LoadIconW(nullptr, MAKEINTRESOURCEW(32516));  // IDI_INFORMATION
  StylesForm() { ClientSize(11 * 1500 + 240, 1300); }

 protected:
  void Design() override {
    Caption(L"SorvButton 样式");
    for (int i = 0; i < 11; ++i) {
      buttons[i].Create(*this, 120 + i * 1500, 240, 1380, 600);
      PropertyBag bag;
      bag.WriteAlways<std::int32_t>("Style", i);
      bag.WriteAlways<std::wstring>("Caption",
                                    L"样式 " + std::to_wstring(i) + (i == 9 ? L"(&L)" : L""));
      bag.WriteAlways<std::int32_t>("CaptionAlign", i % 2 ? 2 : 0);
      bag.WriteAlways<HICON>("Icon", i % 2 ? icon : nullptr);
      bag.WriteAlways<std::int32_t>("IconAlign", 1);
      bag.WriteAlways<std::wstring>("ToolTipText", L"加载选中的加密盘");
      buttons[i].ReadProperties(bag);
    }
    events.Wire(btnMount);
  }
};

}  // namespace

TEST(Form, CarriesTheButtonsAndGetsTheirEvents) {
  StylesForm f;
  f.Load();
  HWND w = f.btnMount.hWnd();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(GetParent(w), f.hWnd());
  // Alt+L through the runtime's keyboard handling: the access key clicks once.
  EXPECT_EQ(FindWindowExW(f.hWnd(), nullptr, L"SorvButton", L"样式 9(&L)"), w);
  MSG alt{w, WM_SYSCHAR, 'l', 1 << 29, 0, {}};
  forms::Dispatch(alt);
  EXPECT_EQ(f.events.click, 1);
  EXPECT_EQ(f.btnMount.ButtonState(), StateNormal);
  SendMessageW(w, BM_CLICK, 0, 0);
  EXPECT_EQ(f.events.click, 2);
  Send(w, WM_MOUSEMOVE);
  EXPECT_EQ(f.events.enter, 1);
  EXPECT_EQ(f.btnMount.ContainerToolTipText(), L"");  // the form shows no tip of its own
  Send(w, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(f.events.leave, 1);
  EXPECT_EQ(f.btnMount.ContainerToolTipText(), L"加载选中的加密盘");
  // The form's font is the button's font.
  LOGFONTW formFont{};
  GetObjectW(f.Font(), sizeof formFont, &formFont);
  EXPECT_STREQ(f.btnMount.Font().lfFaceName, formFont.lfFaceName);
  f.btnMount.Width(100);  // the least width is 300 twips
  EXPECT_EQ(f.btnMount.Width(), 300);
  f.Unload();
}

TEST(Screenshot, OneButtonOfEachStyle) {
  StylesForm f;
  f.Show();
  for (DWORD end = GetTickCount() + 600; GetTickCount() < end; Sleep(10))
    for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) DispatchMessageW(&msg);
  RECT r;
  GetWindowRect(f.hWnd(), &r);
  MemSurface shot(r.right - r.left, r.bottom - r.top);
  HDC screen = GetDC(nullptr);
  BitBlt(shot.dc(), 0, 0, r.right - r.left + 1, r.bottom - r.top + 1, screen, r.left, r.top,
         SRCCOPY);
  ReleaseDC(nullptr, screen);
  EXPECT_TRUE(shot.Save(L"button_styles.bmp"));
  f.Unload();
}
