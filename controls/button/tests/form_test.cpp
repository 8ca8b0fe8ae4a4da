// The button carried by a form of the forms runtime, as the main window carries eight.
#include <gtest/gtest.h>

#include <string>

#include "forms.h"
#include "Pictures.h"
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

// Kept for people to look at and checked for what they look for: the window's title and
// caption buttons, each button's outline (style 2 shows its edge only under the mouse, so
// its edge is the form's own colour) and each button's caption, found as what changes when
// the captions are taken away.
TEST(Screenshot, OneButtonOfEachStyle) {
  using namespace testsupport;
  StylesForm f;
  SetCursorPos(0, 0);  // no button under the pointer: each shows its resting look
  f.Show();
  auto outlined = [&](const Picture& p, int i) {
    RECT r = InPicture(f.hWnd(), f.buttons[i].hWnd());
    int ring = 0, differ = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        if (x < r.left + 2 || x >= r.right - 2 || y < r.top + 2 || y >= r.bottom - 2) {
          ++ring;
          differ += p.At(x, y) != GetSysColor(COLOR_BTNFACE);
        }
    return differ * 2 > ring;
  };
  Picture shot = ShownWindowWhen(
      f.hWnd(),
      [&](const Picture& p) {
        for (int i = 0; i < 11; ++i)
          if (outlined(p, i) != (i != 2)) return false;
        return TitlePixels(p, f.hWnd()) >= 20;
      },
      5000);
  EXPECT_TRUE(shot.Save(L"button_styles.bmp"));
  for (int i = 0; i < 11; ++i) EXPECT_EQ(outlined(shot, i), i != 2) << "style " << i;
  EXPECT_GE(TitlePixels(shot, f.hWnd()), 20);
  EXPECT_GT(CloseGlyphSymmetry(shot, f.hWnd()), 0.8) << "letters in the caption buttons";

  auto captionPixels = [&](const Picture& without, int i) {
    RECT r = InPicture(f.hWnd(), f.buttons[i].hWnd());
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) n += shot.At(x, y) != without.At(x, y);
    return n;
  };
  for (SorvButton& b : f.buttons) b.Caption(L"");
  Picture without = ShownWindowWhen(
      f.hWnd(),
      [&](const Picture& p) {
        for (int i = 0; i < 11; ++i)
          if (captionPixels(p, i) < 30) return false;
        return true;
      },
      5000);
  for (int i = 0; i < 11; ++i) EXPECT_GE(captionPixels(without, i), 30) << "style " << i;
  f.Unload();
}
