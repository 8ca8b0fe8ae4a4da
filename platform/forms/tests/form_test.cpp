// Forms under Wine: loading, events, geometry, keys, modal show, the list of forms.
#include <gtest/gtest.h>

#include <stdexcept>

#include "test_forms.h"

namespace forms_test {
namespace {

TEST(Form, ButtonClickReachesHandlerAndMsgBoxIsScripted) {
  testsupport::ScriptedRuntime runtime;
  runtime.answers = {IDYES};
  TestForm f;
  f.Show();
  ASSERT_TRUE(f.IsLoaded());
  EXPECT_EQ(f.loads, 1);
  EXPECT_EQ(f.Caption(), L"测试");
  SendMessageW(f.Command1.hWnd(), BM_CLICK, 0, 0);
  EXPECT_EQ(f.clicks1, 1);
  ASSERT_EQ(runtime.boxes.size(), 1u);
  EXPECT_EQ(runtime.boxes[0].prompt, L"要退出程序吗？");
  EXPECT_EQ(runtime.boxes[0].title, L"注意");
  EXPECT_EQ(runtime.boxes[0].Buttons(), UINT(MB_YESNO));
  EXPECT_EQ(runtime.boxes[0].Icon(), UINT(MB_ICONQUESTION));
  EXPECT_EQ(runtime.boxes[0].DefaultButton(), UINT(MB_DEFBUTTON2));
  EXPECT_EQ(f.answer, L"yes");

  // A disabled button does not answer.
  f.Command1.Enabled(false);
  SendMessageW(f.Command1.hWnd(), BM_CLICK, 0, 0);
  EXPECT_EQ(f.clicks1, 1);
  EXPECT_TRUE(f.Unload());
  EXPECT_EQ(f.unloads, 1);
  EXPECT_FALSE(f.IsLoaded());
  EXPECT_TRUE(Forms().empty());
}

TEST(Form, ExceptionInHandlerIsReportedAndWindowStays) {
  testsupport::ScriptedRuntime runtime;
  TestForm f;
  f.Show();
  f.Command2.Click = [] { throw std::runtime_error("disk full"); };
  SendMessageW(f.Command2.hWnd(), BM_CLICK, 0, 0);
  ASSERT_EQ(runtime.boxes.size(), 1u);
  EXPECT_EQ(runtime.boxes[0].prompt, L"Error: disk full");
  EXPECT_EQ(runtime.boxes[0].Icon(), UINT(MB_ICONERROR));
  EXPECT_TRUE(f.IsLoaded());
  f.Unload();
}

TEST(Form, TimerTicks) {
  TestForm f;
  f.Show();
  f.Timer1.Interval(50);
  EXPECT_TRUE(PumpUntil([&] { return f.ticks >= 2; }));
  f.Timer1.Enabled(false);
  int seen = f.ticks;
  PumpUntil([] { return false; }, 200);
  EXPECT_EQ(f.ticks, seen);
  f.Unload();
}

TEST(Form, TwipsGeometryAndCentring) {
  TestForm f;
  f.Load();
  int tpp = TwipsPerPixelX();
  EXPECT_EQ(tpp, 1440 / 96);
  EXPECT_EQ(f.ScaleWidth(), 5910 / tpp * tpp);
  EXPECT_EQ(f.ScaleHeight(), 2310 / tpp * tpp);
  EXPECT_EQ(f.Command1.Left(), 4560);
  EXPECT_EQ(f.Command1.Width(), TwipsX(PixelsX(1150)));  // nearest pixel: 77 px
  f.Command1.Move(300, 600, 1500, 450);
  EXPECT_EQ(f.Command1.Left(), 300);
  EXPECT_EQ(f.Command1.Top(), 600);
  EXPECT_EQ(f.Command1.Height(), 450);
  f.Centre();
  EXPECT_EQ(f.Left(), (Screen::Width() - f.Width()) / 2 / tpp * tpp);
  EXPECT_EQ(f.Top(), (Screen::Height() - f.Height()) / 2 / tpp * tpp);
  f.Width(8000);
  EXPECT_EQ(f.Width(), 8000 / tpp * tpp);
  f.Unload();
}

// A form that will not be narrower than 8000 twips, set back from its own resize event.
class SnapForm : public Form {
 public:
  int resizes = 0;

 protected:
  void Form_Resize() override {
    ++resizes;
    if (Width() < 8000) Width(8000);
  }
};

TEST(Form, ResizeEventCanSetTheSizeBack) {
  SnapForm f;
  f.Show();
  f.Width(9000);
  f.Width(5000);
  EXPECT_EQ(f.Width(), TwipsX(PixelsX(8000)));
  EXPECT_GE(f.resizes, 3);
  ShowWindow(f.hWnd(), SW_MINIMIZE);
  f.Width(5000);  // ignored while minimised
  ShowWindow(f.hWnd(), SW_RESTORE);
  EXPECT_EQ(f.Width(), TwipsX(PixelsX(8000)));
  f.Unload();
}

TEST(Form, EnterAndEscapeClickDefaultAndCancel) {
  testsupport::ScriptedRuntime runtime;
  TestForm f;
  f.Show();
  f.Text1.SetFocus();
  MSG m{f.Text1.hWnd(), WM_KEYDOWN, VK_RETURN, 0, 0, {}};
  Dispatch(m);
  EXPECT_EQ(f.clicks1, 1);
  m.wParam = VK_ESCAPE;
  Dispatch(m);
  EXPECT_EQ(f.clicks2, 1);
  f.Unload();
}

TEST(Form, ModalShowReturnsWhenHiddenAndDisablesOthers) {
  TestForm main, dialog;
  main.Show();
  bool mainEnabledDuring = true;
  dialog.Timer1.Tick = nullptr;
  dialog.Load();
  dialog.Command2.Click = [&] {
    mainEnabledDuring = main.Enabled();
    dialog.Unload();
  };
  dialog.Timer1.Tick = [&] { SendMessageW(dialog.Command2.hWnd(), BM_CLICK, 0, 0); };
  dialog.Timer1.Interval(50);
  dialog.ShowModal(main);
  EXPECT_FALSE(dialog.IsLoaded());
  EXPECT_FALSE(mainEnabledDuring);
  EXPECT_TRUE(main.Enabled());
  main.Unload();
}

TEST(Form, ListOfFormsUnloadRefusalAndReload) {
  WideForm a, b;
  a.Show();
  b.Show();
  ASSERT_EQ(Forms().size(), 2u);
  EXPECT_EQ(Forms()[0], &a);
  EXPECT_EQ(Forms()[1], &b);
  EXPECT_GE(a.activations, 1);
  b.refuseUnload = true;
  SendMessageW(b.hWnd(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(b.IsLoaded());
  b.refuseUnload = false;
  SendMessageW(b.hWnd(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(b.IsLoaded());
  ASSERT_EQ(Forms().size(), 1u);
  // Loading again makes the controls afresh and runs Form_Load again.
  b.Show();
  EXPECT_EQ(b.loads, 2);
  SendMessageW(b.Command1.hWnd(), BM_CLICK, 0, 0);
  EXPECT_EQ(b.frameClicks, 1);
  b.Unload();
  a.Unload();
  EXPECT_TRUE(Forms().empty());
}

}  // namespace
}  // namespace forms_test
