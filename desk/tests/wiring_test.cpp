// The main window's buttons, menu bar and pop-up menu open the dialogs, each with its owner.
#include "DeskFixture.h"

namespace {

// Closes the first visible window with the caption once the dialog's modal loop runs, noting
// its owner.
struct DialogCloser {
  static inline const wchar_t* caption = nullptr;
  static inline bool seen = false;
  static inline HWND owner = nullptr;
  explicit DialogCloser(const wchar_t* c) {
    caption = c;
    seen = false;
    owner = nullptr;
    timer_ = SetTimer(nullptr, 0, 50, Tick);
  }
  ~DialogCloser() { KillTimer(nullptr, timer_); }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    HWND w = FindWindowW(nullptr, caption);
    if (!w || !IsWindowVisible(w)) return;
    (void)id;
    if (seen) return;
    seen = true;
    owner = GetWindow(w, GW_OWNER);
    PostMessageW(w, WM_CLOSE, 0, 0);
  }

 private:
  UINT_PTR timer_;
};

using WiringTest = DeskFixture;

TEST_F(WiringTest, EveryEntryOpensItsDialog) {
  WriteList({dir / L"a.cvd"});
  main.Show();
  auto button = [](sorvbutton::SorvButton& b) {
    return [&b] { SendMessageW(b.hWnd(), BM_CLICK, 0, 0); };
  };
  auto menu = [this](forms::Menu& m) {
    return [this, &m] { SendMessageW(main.hWnd(), WM_COMMAND, m.Id(), 0); };
  };
  struct Entry {
    std::function<void()> run;
    const wchar_t* caption;
    bool owned, needsRow;
  };
  const Entry entries[] = {
      {button(main.btnDeleteFile), L"删除", true, true},
      {menu(main.mnuDelete), L"删除", true, true},
      {menu(main.mnupopupDelete), L"删除", true, true},
      {button(main.btnModifyPassword), L"修改密码", true, true},
      {menu(main.mnuModifyPassword), L"修改密码", true, true},
      {menu(main.popmnuModifyPassword), L"修改密码", true, true},
      {button(main.btnBackup), L"备份", false, true},
      {menu(main.mnuBackup), L"备份", true, true},
      {menu(main.popmnuBackup), L"备份", true, true},
      {button(main.btnOption), L"选项", true, false},
      {menu(main.mnuOption), L"选项", true, false},
      {menu(main.mnupopupOption), L"选项", true, false},
      {button(main.btnAbout), L"关于“Velkiro”", true, false},
      {menu(main.munAbout), L"关于“Velkiro”", true, false},
  };
  for (bool selected : {true, false}) {
    main.ListView1.Select(selected ? 1 : 0);
    for (const Entry& e : entries) {
      SCOPED_TRACE(forms::ToAnsi(e.caption));
      DialogCloser closer(e.caption);
      e.run();
      if (!selected && e.needsRow) {
        // Nothing opens without a selected row: the closer never fires.
        forms::DoEvents();
        EXPECT_FALSE(DialogCloser::seen);
        continue;
      }
      EXPECT_TRUE(DialogCloser::seen);
      EXPECT_EQ(DialogCloser::owner == main.hWnd(), e.owned);
    }
  }
  EXPECT_TRUE(boxes.empty());
}

TEST_F(WiringTest, HelpHandsTheProgramFoldersHelpFileToTheShell) {
  main.Show();
  SendMessageW(main.hWnd(), WM_COMMAND, main.mnuViewHelp.Id(), 0);
  using Opened = std::vector<std::pair<std::wstring, std::wstring>>;
  EXPECT_EQ(opened, (Opened{{L"open", forms::AppPath() + L"\\help.chm"}}));
}

// Each button, loaded from its saved design, watches the pointer: over it, the hot look and a
// balloon tip with the information icon and the button's text, the form's own tip set aside;
// leaving takes the tip away and gives the form its text back.
TEST_F(WiringTest, ButtonsShowTheirBalloonTipUnderThePointer) {
  WriteList({dir / L"a.cvd"});
  main.Show();
  const std::pair<sorvbutton::SorvButton*, const wchar_t*> buttons[] = {
      {&main.btnCreateFile, L"创建新的加密盘文件"},
      {&main.btnDeleteFile, L"从列表中删除记录，或者从电脑中删除加密盘文件"},
      {&main.btnImport, L"把加密盘文件导入到列表"},
      {&main.btnActivate, L"激活一个加密盘，激活后方可生成虚拟磁盘"},
      {&main.btnOption, L"程序的一些设置选项，可以从这里修改"},
      {&main.btnModifyPassword, L"修改密码"},
      {&main.btnBackup, L"备份或者移动加密盘文件"},
      {&main.btnAbout, L"关于本软件"},
  };
  for (auto& [b, text] : buttons) {
    SCOPED_TRACE(forms::ToAnsi(text));
    SendMessageW(b->hWnd(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(b->ButtonState(), sorvbutton::StateHot);
    EXPECT_EQ(b->ContainerToolTipText(), L"");
    HWND tip = b->TipWindow();
    ASSERT_NE(tip, nullptr);
    EXPECT_NE(GetWindowLongW(tip, GWL_STYLE) & TTS_BALLOON, 0);
    wchar_t shown[128] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = b->hWnd();
    tool.lpszText = shown;
    SendMessageW(tip, TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&tool));
    EXPECT_EQ(std::wstring(shown), text);
    // (Wine's TTM_GETTITLE reports no icon: the kept picture shows it.)
    EXPECT_EQ(b->ToolTipIcon(), TTI_INFO);
    SendMessageW(b->hWnd(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(b->TipWindow(), nullptr);
    EXPECT_EQ(b->ContainerToolTipText(), text);
  }
}

}  // namespace
