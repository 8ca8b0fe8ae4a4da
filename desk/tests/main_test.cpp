// The main window: its rows, status text, size, commands, import and unload.
#include "DeskFixture.h"
#include "SorvLibs.h"

namespace {

constexpr long long MiB = 1 << 20;
constexpr wchar_t kNotWhole[] =
    L"加密盘文件不完整（加密盘文件至少有10M，文件头后面是整数个512字节的扇区），可能已被截断或者"
    L"损坏，不能导入。";

class MainTest : public DeskFixture {
 protected:
  // A container file with a valid header.
  std::wstring Container(const std::wstring& name, long long bytes = 2 * MiB) {
    const std::wstring file = dir / name;
    MakeFile(file, bytes);
    EXPECT_EQ(sorvlib::CVD_InitHeader(forms::ToAnsi(file).c_str()), 0);
    return file;
  }
  void Command(forms::Menu& item) { SendMessageW(main.hWnd(), WM_COMMAND, item.Id(), 0); }
  std::vector<bool> ListButtons() {
    return {main.btnDeleteFile.Enabled(), main.btnActivate.Enabled(),
            main.btnModifyPassword.Enabled(), main.btnBackup.Enabled()};
  }
};

TEST_F(MainTest, RowsShowSizeStateAndTheCurrentContainer) {
  const std::wstring ready = Container(L"ready.cvd", 10 * MiB), used = Container(L"used.cvd");
  HANDLE holder = CreateFileW(used.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
  WriteList({ready, dir / L"gone.cvd", used});
  SetSetting(L"Path", used);
  main.Show();
  CloseHandle(holder);
  ASSERT_EQ(main.ListView1.Count(), 3);
  const wchar_t* sizes[] = {L"10M", L"没找到文件", L"正在使用"};
  const int icons[] = {1, 1, 2};
  for (int row = 1; row <= 3; ++row) {
    EXPECT_EQ(main.ListView1.SubItem(row, 3), sizes[row - 1]);
    EXPECT_EQ(main.ListView1.SmallIcon(row), icons[row - 1]);
  }
  EXPECT_EQ(main.ListView1.SubItem(1, 1), L"ready.cvd");
  EXPECT_EQ(main.ListView1.SubItem(1, 2), dir.path() + L"\\");
  EXPECT_EQ(ListButtons(), std::vector<bool>(4, true));
  EXPECT_EQ(main.Caption(), L"管理Velkiro");
}

TEST_F(MainTest, EmptyListStatusTextAndSize) {
  main.Show();
  EXPECT_EQ(ListButtons(), std::vector<bool>(4, false));
  EXPECT_TRUE(main.btnCreateFile.Enabled() && main.btnImport.Enabled() &&
              main.btnOption.Enabled() && main.btnAbout.Enabled());
  // The first tick shows the slogan, and the texts alternate from then on.
  const wchar_t* texts[] = {L"Velkiro提醒您注意时常备份加密盘", L"Velkiro，电脑里的保险箱",
                            L"Velkiro提醒您注意时常备份加密盘", L"Velkiro，电脑里的保险箱"};
  EXPECT_EQ(main.StatusBar1.PanelText(1), texts[0]);
  for (int tick = 1; tick < 4; ++tick) {
    main.Timer1.Tick();
    EXPECT_EQ(main.StatusBar1.PanelText(1), texts[tick]);
  }
  EXPECT_EQ(main.Timer1.Interval(), 4000);
  EXPECT_EQ(main.StatusBar1.PanelToolTip(1), L"欢迎使用“Velkiro”磁盘加密软件，祝你用得开心！");

  // Never narrower than 8000 twips nor lower than 4000; the list fills what is left.
  main.Width(5000);
  main.Height(2000);
  // (to the nearest whole pixel)
  EXPECT_EQ(forms::PixelsX(main.Width()), forms::PixelsX(8000));
  EXPECT_EQ(forms::PixelsY(main.Height()), forms::PixelsY(4000));
  EXPECT_NEAR(main.ListView1.Width(), 8000 - 160, 15);
  EXPECT_NEAR(main.ListView1.ColumnWidth(3), (8000 - 160) * 48 / 100, 30);
  // Minimised, nothing is laid out (the client area has no size then).
  const int height = main.ListView1.Height();
  ShowWindow(main.hWnd(), SW_MINIMIZE);
  EXPECT_EQ(main.ListView1.Height(), height);
  ShowWindow(main.hWnd(), SW_RESTORE);
}

TEST_F(MainTest, DamagedListIsToldOnceAndKeptAsItIs) {
  const std::string damaged = "[CvdFileCount]\r\nCount=3x\r\n[CvdFileList]\r\n1=C:\\a.cvd\r\n";
  WriteBytes(listFile, damaged);
  main.Show();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(Box(),
            L"加密盘列表文件 List.ini 已损坏（记录数 Count 无效），列表中的加密盘暂时不能显示。"
            L"为免丢失记录，程序不会修改它：\r\n" + listFile + L"\r\n请检查或修复该文件后重新启动程序。");
  EXPECT_EQ(boxes[0].title, L"错误");
  EXPECT_EQ(main.ListView1.Count(), 0);
  main.Unload();
  EXPECT_EQ(ReadBytes(listFile), damaged);
}

TEST_F(MainTest, ImportChecksAndListsTheFile) {
  const std::wstring a = Container(L"a.cvd", 10 * MiB), bad = dir / L"bad.cvd";
  WriteBytes(bad, std::string(4096, 'x'));
  // Files that pass the header check but are no whole container.
  const std::string whole = ReadBytes(a);
  const std::wstring eight = dir / L"eight.cvd", headerOnly = dir / L"header.cvd",
                     cut = dir / L"cut.cvd", ragged = dir / L"ragged.cvd";
  WriteBytes(eight, std::string("SR\0\0\0\4\0\0", 8));
  WriteBytes(headerOnly, whole.substr(0, 1024));
  WriteBytes(cut, whole.substr(0, 100 << 10));
  WriteBytes(ragged, whole + std::string(100, '\0'));
  const std::wstring tooLong = PathOfAnsiBytes(254);
  WriteBytes(tooLong, whole);
  main.Show();
  // First import, no current container: listed and made current without a question.
  chosen = a;
  Command(main.mnuAdd);
  EXPECT_TRUE(boxes.empty()) << forms::ToAnsi(Box());
  ASSERT_EQ(main.ListView1.Count(), 1);
  EXPECT_EQ(main.ListView1.SubItem(1, 3), L"10M");
  EXPECT_EQ(GetSetting(L"Path"), a);
  EXPECT_EQ(main.ListView1.SmallIcon(1), 2);
  EXPECT_EQ(ListButtons(), std::vector<bool>(4, true));
  EXPECT_EQ(dialogs[0].title, L"请选择要导入的文件：");
  EXPECT_EQ(dialogs[0].flags, 0x1800u);
  EXPECT_FALSE(dialogs[0].save);

  struct Row {
    std::wstring file;
    const wchar_t* message;
    int rows;
  };
  std::wstring upper = a;
  upper.replace(upper.size() - 5, 1, L"A");
  const Row rows[] = {
      {a, L"您要导入的文件已经存在于列表！", 1},
      {bad,
       L"验证加密盘文件失败，你的加密盘文件可能处于被保护状态、被破坏或者不是当前版本的加密盘格式"
       L"，不能导入。请确认不是上述问题后再试一次。",
       1},
      {dir / L"gone.cvd", L"没有找到加密盘文件，请确认文件还存在", 1},
      {eight, kNotWhole, 1},
      {headerOnly, kNotWhole, 1},
      {cut, kNotWhole, 1},
      {ragged, kNotWhole, 1},
      {tooLong,
       L"加密盘文件的路径太长，不能加载：路径连同两边的引号不能超过255字节（一个汉字算2字节），"
       L"请选择较短的路径。",
       1},
      {upper, L"导入成功！\r\n要加载刚导入的文件吗？", 2},  // the same file, spelled otherwise
  };
  for (const Row& r : rows) {
    chosen = r.file;
    boxes.clear();
    answers = {IDNO};
    Command(main.mnupopupAddIn);
    EXPECT_EQ(Box(), r.message);
    EXPECT_EQ(main.ListView1.Count(), r.rows);
  }
  EXPECT_EQ(GetSetting(L"Path"), a);  // "No": the current container stays
  EXPECT_EQ(ListKey(L"CvdFileList", L"2"), upper);
  EXPECT_EQ(ListKey(L"CvdFileCount", L"Count"), L"2");
  chosen.clear();  // cancelled: silent
  boxes.clear();
  Command(main.mnuAdd);
  EXPECT_TRUE(boxes.empty());
}

TEST_F(MainTest, SelectForMountingStartsTheTrayProgramQuoted) {
  const std::wstring a = Container(L"a.cvd"), b = Container(L"b.cvd");
  WriteList({a, b, dir / L"gone.cvd"});
  main.Show();
  // Nothing selected: the row commands do nothing.
  for (forms::Menu* item : {&main.mnuMount, &main.mnupopupMount}) Command(*item);
  EXPECT_TRUE(boxes.empty());
  EXPECT_TRUE(GetSetting(L"Path").empty());

  main.ListView1.Select(2);
  answers = {IDNO};
  Click(main.btnActivate.hWnd());
  EXPECT_EQ(GetSetting(L"Path"), b);
  EXPECT_EQ(main.ListView1.SmallIcon(2), 2);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].title, L"加载成功");
  EXPECT_TRUE(starts.empty());
  answers = {IDYES};
  Command(main.mnuMount);
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].first, L"\"" + forms::AppPath() + L"\\start.exe\"");
  EXPECT_EQ(starts[0].second, forms::WindowStyle::NormalFocus);

  // A file deleted from outside: told, and the current container stays.
  main.ListView1.Select(3);
  boxes.clear();
  answers = {IDYES};
  Command(main.mnupopupMount);
  EXPECT_EQ(Box(), L"没有找到加密盘文件，请确认文件还存在");
  EXPECT_EQ(boxes.size(), 1u);
  EXPECT_EQ(GetSetting(L"Path"), b);
  EXPECT_EQ(main.ListView1.SmallIcon(3), 1);
  EXPECT_EQ(starts.size(), 1u);
}

TEST_F(MainTest, UnloadGuardsTheCurrentContainerUnlessTheTrayHoldsIt) {
  const std::wstring a = Container(L"a b.cvd");
  SetSetting(L"Path", a);
  struct Row {
    const wchar_t* protect;
    bool trayRunning;
    bool guarded;
  };
  const Row rows[] = {{L"1", false, true}, {L"1", true, false}, {L"0", false, false}};
  for (const Row& r : rows) {
    SetSetting(L"IsProtectFile", r.protect);
    HANDLE tray = r.trayRunning ? CreateSemaphoreW(nullptr, 1, 1, L"Sorvane") : nullptr;
    if (tray) WaitForSingleObject(tray, 0);
    desk::Form1 window;
    window.Show();
    DeleteFileW(mountLog.c_str());
    window.Unload();
    if (tray) CloseHandle(tray);
    const std::string log = ReadBytes(mountLog);
    EXPECT_EQ(log.find("/lockfile 0 ") != std::string::npos, r.guarded) << log;
    if (r.guarded) EXPECT_NE(log.find("\"" + forms::ToAnsi(a) + "\""), std::string::npos);
  }
}

}  // namespace
