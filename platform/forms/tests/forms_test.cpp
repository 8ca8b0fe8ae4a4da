// The runtime under Wine: real windows, real clicks and keys, scripted message boxes.
#include <gtest/gtest.h>

#include <stdexcept>

#include "forms.h"

using namespace forms;

namespace {

// Runs the message loop until `done` or about `ms` milliseconds have passed.
template <class F>
bool PumpUntil(F done, int ms = 3000) {
    DWORD end = GetTickCount() + ms;
    while (!done() && GetTickCount() < end) {
        DoEvents();
        Sleep(5);
    }
    return done();
}

class TestForm : public Form {
public:
    Label Label1;
    TextBox Text1;
    CommandButton Command1, Command2;
    CheckBox Check1;
    Timer Timer1;
    int clicks1 = 0, clicks2 = 0, ticks = 0, loads = 0, unloads = 0;
    std::wstring answer;

    TestForm() { ClientSize(5910, 2310); Border(BorderStyle::FixedSingle); }

protected:
    void Design() override {
        Label1.Create(*this, nullptr, L"密码：", 720, 1500, 1215, 255);
        Text1.Create(*this, nullptr, L"", 1920, 1450, 2415, 300);
        Text1.PasswordChar(L'*');
        Command1.Create(*this, nullptr, L"确定", 4560, 950, 1150, 300);
        Command1.Default(true);
        Command1.Click = [this] { Command1_Click(); };
        Command2.Create(*this, nullptr, L"取消", 4560, 1450, 1150, 300);
        Command2.Cancel(true);
        Command2.Click = [this] { ++clicks2; };
        Check1.Create(*this, nullptr, L"开机自动加载", 600, 1920, 3855, 375);
        Timer1.Create(*this);
        Timer1.Tick = [this] { ++ticks; };
    }
    void Form_Load() override { ++loads; Caption(L"测试"); }
    void Form_Unload(bool&) override { ++unloads; }
    void Command1_Click() {
        ++clicks1;
        int r = MsgBox(L"要退出程序吗？", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, L"注意");
        answer = r == IDYES ? L"yes" : L"no";
    }
};

struct ScriptedBoxes {
    std::vector<MsgBoxCall> calls;
    std::vector<int> answers;
    MsgBoxResponder old;
    ScriptedBoxes() {
        old = SetMsgBoxResponder([this](const MsgBoxCall& c) {
            calls.push_back(c);
            int r = answers.empty() ? IDOK : answers.front();
            if (!answers.empty()) answers.erase(answers.begin());
            return r;
        });
    }
    ~ScriptedBoxes() { SetMsgBoxResponder(old); }
};

TEST(Form, ButtonClickReachesHandlerAndMsgBoxIsScripted) {
    ScriptedBoxes boxes;
    boxes.answers = {IDYES};
    TestForm f;
    f.Show();
    ASSERT_TRUE(f.IsLoaded());
    EXPECT_EQ(f.loads, 1);
    EXPECT_EQ(f.Caption(), L"测试");
    SendMessageW(f.Command1.hWnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(f.clicks1, 1);
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_EQ(boxes.calls[0].prompt, L"要退出程序吗？");
    EXPECT_EQ(boxes.calls[0].title, L"注意");
    EXPECT_EQ(boxes.calls[0].Buttons(), UINT(MB_YESNO));
    EXPECT_EQ(boxes.calls[0].Icon(), UINT(MB_ICONQUESTION));
    EXPECT_EQ(boxes.calls[0].DefaultButton(), UINT(MB_DEFBUTTON2));
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
    ScriptedBoxes boxes;
    TestForm f;
    f.Show();
    f.Command2.Click = [] { throw std::runtime_error("disk full"); };
    SendMessageW(f.Command2.hWnd(), BM_CLICK, 0, 0);
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_EQ(boxes.calls[0].prompt, L"Error: disk full");
    EXPECT_EQ(boxes.calls[0].Icon(), UINT(MB_ICONERROR));
    EXPECT_TRUE(f.IsLoaded());
    f.Unload();
}

TEST(MsgBox, UntitledBoxCarriesProgramName) {
    ScriptedBoxes boxes;
    MsgBox(L"未知的原因使加载文件保护失败，请检查后重新尝试一遍");
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_EQ(boxes.calls[0].title, L"forms_test");
    EXPECT_EQ(boxes.calls[0].Icon(), 0u);
    EXPECT_EQ(boxes.calls[0].Buttons(), UINT(MB_OK));
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

TEST(Form, EnterAndEscapeClickDefaultAndCancel) {
    ScriptedBoxes boxes;
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

    f.Text1.KeyPress = [](int& key) { if (key < L'0' || key > L'9') key = 0; };
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

TEST(Drives, SystemDriveIsListedWithItsFigures) {
    EXPECT_TRUE(DriveExists(L"C:"));
    EXPECT_TRUE(DriveExists(L"c:\\windows"));
    EXPECT_FALSE(DriveExists(L""));
    EXPECT_FALSE(DriveExists(L"1:"));
    Drive c = GetDrive(L"C:\\");
    EXPECT_EQ(c.DriveLetter, L'C');
    EXPECT_EQ(c.DriveType, Drive::Fixed);
    EXPECT_TRUE(c.IsReady);
    EXPECT_GT(c.TotalSize, 0u);
    EXPECT_LE(c.FreeSpace, c.TotalSize);
    EXPECT_FALSE(c.FileSystem.empty());
    bool listed = false;
    for (const Drive& d : Drives()) listed |= d.DriveLetter == L'C';
    EXPECT_TRUE(listed);
    EXPECT_TRUE(FileExists(AppPath() + L"\\forms_test.exe"));
    EXPECT_FALSE(FileExists(AppPath()));
}

// A letter defined onto a device with no file system (as the driver's disks are) exists.
TEST(Drives, RawDosDeviceCountsAsExisting) {
    wchar_t letter = 0;
    for (wchar_t c = L'Y'; c > L'D' && !letter; --c)
        if (!DriveExists(std::wstring(1, c))) letter = c;
    ASSERT_NE(letter, 0);
    std::wstring name = std::wstring(1, letter) + L":";
    ASSERT_TRUE(DefineDosDeviceW(DDD_RAW_TARGET_PATH, name.c_str(), L"\\Device\\Null"));
    EXPECT_TRUE(DriveExists(name + L"\\"));
    EXPECT_EQ(GetDrive(name).DriveLetter, letter);
    DefineDosDeviceW(DDD_RAW_TARGET_PATH | DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE,
                     name.c_str(), L"\\Device\\Null");
    EXPECT_FALSE(DriveExists(name));
}

}  // namespace

namespace {

class WideForm : public Form {
public:
    Frame Frame1;
    CommandButton Command1;
    ComboBox Combo1;
    Slider Slider1;
    SpinButton SpinButton1;
    Menu mnuFile, mnuCreate, mnuSep, mnuQuit, mnuPopupMenu, mnupopupCreate;
    int creates = 0, frameClicks = 0, spins = 0, loads = 0, activations = 0;
    bool refuseUnload = false;

protected:
    void Design() override {
        Frame1.Create(*this, nullptr, L"选择磁盘", 120, 120, 3000, 1500);
        Command1.Create(*this, &Frame1, L"下一步", 300, 300, 1200, 375);
        Command1.Click = [this] { ++frameClicks; };
        Combo1.Create(*this, nullptr, 3300, 120, 1400, 300, ComboBox::DropDownList, true);
        Slider1.Create(*this, nullptr, 120, 1800, 3000, 400);
        SpinButton1.Create(*this, nullptr, 3300, 1800, 255, 375);
        SpinButton1.SpinUp = [this] { ++spins; };
        SpinButton1.SpinDown = [this] { --spins; };
        mnuFile.CreateTop(*this, L"文件(&F)");
        mnuCreate.Create(mnuFile, L"创建(&C)");
        mnuCreate.Click = [this] { ++creates; };
        mnuSep.CreateSeparator(mnuFile);
        mnuQuit.Create(mnuFile, L"退出(&Q)");
        mnuPopupMenu.CreatePopup(*this, L"右键菜单");
        mnupopupCreate.Create(mnuPopupMenu, L"创建(&C)");
        mnupopupCreate.Click = [this] { ++creates; };
    }
    void Form_Load() override { ++loads; }
    void Form_Activate() override { ++activations; }
    void Form_QueryUnload(bool& cancel, UnloadMode) override { cancel = refuseUnload; }
};

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

TEST(Shell, LauncherRecordsAndRealStartRuns) {
    std::vector<std::pair<std::wstring, WindowStyle>> starts;
    Launcher old = SetLauncher([&](const std::wstring& cmd, WindowStyle style) {
        starts.push_back({cmd, style});
        return DWORD(42);
    });
    EXPECT_EQ(Shell(L"C:\\x\\SorvDesk.exe", WindowStyle::NormalFocus), 42u);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].first, L"C:\\x\\SorvDesk.exe");
    EXPECT_EQ(starts[0].second, WindowStyle::NormalFocus);
    SetLauncher(old);
    EXPECT_NE(Shell(L"cmd.exe /c exit 0", WindowStyle::Hide), 0u);
    EXPECT_EQ(Shell(AppPath() + L"\\no-such-program.exe"), 0u);
}

// Answers the next common dialog with the given title: cancel, or a typed name.
struct DialogAnswer {
    static inline std::wstring title, name;
    static inline WPARAM command = IDCANCEL;
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
        HWND dlg = FindWindowW(L"#32770", title.c_str());
        if (!dlg) return;
        KillTimer(nullptr, id);
        if (name.empty()) {
            PostMessageW(dlg, WM_COMMAND, command, 0);
        } else {
            SetDlgItemTextW(dlg, 0x47c, name.c_str());  // the file name box
            PostMessageW(dlg, WM_COMMAND, IDOK, 0);
        }
    }
    DialogAnswer(const std::wstring& t, const std::wstring& n, WPARAM c = IDCANCEL) {
        title = t;
        name = n;
        command = c;
        SetTimer(nullptr, 0, 100, Tick);
    }
};

TEST(MsgBox, RealBoxShowsAndAnswers) {
    DialogAnswer a(L"forms_test", L"", IDNO);
    EXPECT_EQ(MsgBox(L"要打开载入的磁盘吗？", MB_YESNO | MB_ICONQUESTION), IDNO);
}

TEST(FileDialog, CancelIsDistinctFromAChoice) {
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    std::wstring path = std::wstring(dir) + L"选择.cvd";
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);

    FileDialog cancel;
    cancel.DialogTitle = L"请选择要导入的文件：";
    cancel.Flags = 0x1800;
    cancel.Filter = L"CVD files (*.cvd)|*.cvd|All files (*.*)|*.*";
    DialogAnswer a(cancel.DialogTitle, L"");
    EXPECT_EQ(cancel.ShowOpen(), FileDialog::Cancelled);

    FileDialog open;
    open.DialogTitle = L"请选择要导入的文件：";
    open.Flags = 0x1800;
    open.Filter = L"CVD files (*.cvd)|*.cvd|All files (*.*)|*.*";
    open.FilterIndex = 2;
    DialogAnswer b(open.DialogTitle, path);
    EXPECT_EQ(open.ShowOpen(), FileDialog::Chosen);
    EXPECT_EQ(open.FileName, path);
    EXPECT_EQ(open.FilterIndex, 2);

    FileDialog save;
    save.DialogTitle = L"请选择放置加密盘文件的文件夹，并确定加密盘文件的文件名";
    save.Filter = L"CVD files (*.cvd)|*.cvd|All files (*.*)|*.*";
    save.FileName = L"Sorvane.cvd";
    std::wstring target = std::wstring(dir) + L"新的.cvd";
    DialogAnswer c(save.DialogTitle, target);
    EXPECT_EQ(save.ShowSave(), FileDialog::Chosen);
    EXPECT_EQ(save.FileName, target);
    DeleteFileW(path.c_str());
}

}  // namespace
