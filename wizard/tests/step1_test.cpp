// Step 1: the drive list, the size rules and the checks of "下一步"; step 2's password checks.
#include "SizeRules.h"
#include "NewDrive.h"
#include "WizardFixture.h"
#include "linked_session.h"

namespace {

using wizard::SizeText;

TEST(SizeRules, SizeTexts) {
  const struct {
    unsigned long long bytes;
    const wchar_t* text;
  } cases[] = {
      {1010 * MiB, L"0.99GB"},  // above the threshold of 1000, though below 1024
      {980 * MiB, L"980MB"},   {1500 * MiB, L"1.46GB"},
      {1000 * MiB, L"1000MB"}, {MiB * 1025 / 2, L"512.5MB"},
  };
  for (auto& c : cases) EXPECT_EQ(SizeText(c.bytes), c.text) << c.bytes;
}

// The letter the new container is mounted on for formatting is never one that only the
// user's other logon session has.
TEST(NewDrive, NoLetterOfTheOtherSession) {
  static DWORD other = 0;
  const std::wstring alone = wizard::FreeLetterFromZ();
  ASSERT_FALSE(alone.empty());
  other = DWORD(1) << (alone[0] - L'A');
  forms::DriveLetterSource before = forms::SetLinkedSessionSource([] { return other; });
  const std::wstring chosen = wizard::FreeLetterFromZ();
  forms::SetLinkedSessionSource(before);
  EXPECT_NE(chosen, alone);
}

TEST(SizeRules, SliderStaysInRange) {
  const struct {
    long long size, free;
    int slider;
  } cases[] = {{200, 1000, 21},   {999, 1000, 100}, {1000, 1000, 100},
               {5000, 1000, 100}, {5, 0, 100},      {0, 1000, 1}};
  for (auto& c : cases) EXPECT_EQ(wizard::SliderForSize(c.size, c.free), c.slider) << c.size;
}

using DriveStep = WizardFixture;

TEST_F(DriveStep, ListedDrivesAndTheRecommendedOne) {
  using T = forms::Drive::Type;
  forms::Drive notReady = FakeDrive('A', L"", 0, T::Removable),
               cd = FakeDrive('F', L"CDFS", 0, T::CDRom);
  notReady.IsReady = false;
  drives = {notReady, FakeDrive('C', L"NTFS", 5120), FakeDrive('D', L"NTFS", 5120),
            FakeDrive('E', L"FAT32", 20480, T::Removable), cd};
  w.form1.Show();
  auto& list = w.form1.ListView1;
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.ItemText(1), L"C:");
  EXPECT_EQ(list.SubItem(1, 1), L"10.00GB");
  EXPECT_EQ(list.SubItem(1, 2), L"5.00GB");
  EXPECT_EQ(list.SubItem(1, 3), L"推荐");
  EXPECT_EQ(list.SubItem(1, 4), L"NTFS");
  EXPECT_EQ(list.SubItem(2, 3), L"");
  EXPECT_EQ(list.SubItem(3, 3), L"");
  EXPECT_EQ(list.SelectedItem(), 1);
  EXPECT_EQ(w.form1.Frame3.Caption(), L"C: 请在下面确定您要创建加密盘文件的大小，单位M");
}

TEST_F(DriveStep, HelpHandsTheProgramFoldersHelpFileToTheShell) {
  w.form1.Show();
  Click(w.form1.Command4);
  using Opened = std::vector<std::pair<std::wstring, std::wstring>>;
  EXPECT_EQ(opened, (Opened{{L"open", forms::AppPath() + L"\\help.chm"}}));
}

TEST_F(DriveStep, SizeFromTheSliderPerFileSystem) {
  const struct {
    const wchar_t* fs;
    unsigned long long free;
    const wchar_t *size, *label2;
  } cases[] = {
      {L"NTFS", 1000, L"200", L"21％"},    // 1000 × 20 \ 100, then the slider follows the size
      {L"FAT32", 50000, L"4000", L"9％"},  // 10 000 capped at 4000
      {L"FAT", 20, L"10", L"51％"},        // 4 raised to 10
  };
  for (auto& c : cases) {
    drives = {FakeDrive('C', c.fs, c.free)};
    w.form1.Show();
    EXPECT_EQ(w.form1.Text1.Text(), c.size) << c.fs << c.free;
    EXPECT_EQ(w.form1.Label2.Caption(), c.label2) << c.fs << c.free;
    w.form1.Unload();
  }
}

TEST_F(DriveStep, SizeBoxTakesDigitsOnly) {
  drives = {FakeDrive('C', L"NTFS", 1000)};
  w.form1.Show();
  auto& box = w.form1.Text1;
  box.Text(L"300");
  SendMessageW(box.hWnd(), WM_CHAR, 'x', 0);
  EXPECT_EQ(box.Text(), L"300");
  box.Text(L"12a");  // pasted
  EXPECT_EQ(box.Text(), L"300");
  ASSERT_EQ(boxes.size(), 2u);
  for (auto& b : boxes) EXPECT_EQ(b.prompt, L"非法字符，请输入一个数字。");
  box.Text(L"");
  EXPECT_EQ(box.Text(), L"1");
  EXPECT_EQ(w.form1.Label2.Caption(), L"1%");
}

TEST_F(DriveStep, NextChecksAndQuestions) {
  const struct {
    const wchar_t* fs;
    unsigned long long free;
    const wchar_t* size;
    int answer;
    const wchar_t* box;  // the last message
    bool goesOn;
    const wchar_t* finalSize;
  } cases[] = {
      {L"NTFS", 1500, L"1501", IDOK,
       L"你定义的加密盘文件大小超出所选磁盘的剩余空间大小，请重新定义。", false, L"1501"},
      {L"NTFS", 1500, L"1500", IDOK, nullptr, true, L"1500"},  // compared in bytes, not "1.46GB"
      {L"NTFS", 1000, L"5", IDNO, L"加密盘文件不能小于10M。单击Y将创建10M的加密盘，单击N返回重设。",
       false, L"5"},
      {L"NTFS", 1000, L"5", IDYES,
       L"加密盘文件不能小于10M。单击Y将创建10M的加密盘，单击N返回重设。", true, L"10"},
      {L"FAT32", 9000, L"4001", IDYES,
       L"在Fat32或Fat磁盘格式下单个文件的大小不能超过4G。您现在定义的加密盘文件已经大于4G。单击Y将"
       L"创建4G的加密盘文件，单击N返回重设。",
       true, L"4000"},
      // 10 does not fit either: the free-space message follows the question.
      {L"NTFS", 8, L"5", IDYES, L"你定义的加密盘文件大小超出所选磁盘的剩余空间大小，请重新定义。",
       false, L"10"},
      {L"exFAT", 1000, L"100", IDOK, L"本软件不支持在此类磁盘格式下创建加密盘，请选择其他磁盘。",
       false, L"100"},
  };
  for (auto& c : cases) {
    drives = {FakeDrive('C', c.fs, c.free)};
    SetSetting(L"Path", L"");
    w.form1.Show();
    answers = {c.answer};
    SendMessageW(w.form1.Text1.hWnd(), WM_SETTEXT, 0, LPARAM(c.size));
    boxes.clear();
    Click(w.form1.Command2);
    SCOPED_TRACE(forms::ToAnsi(std::wstring(c.fs) + L" " + c.size));
    if (c.box) {
      ASSERT_FALSE(boxes.empty());
      EXPECT_EQ(boxes.back().prompt, c.box);
    }
    EXPECT_EQ(w.form2.Visible(), c.goesOn);
    EXPECT_EQ(GetSetting(L"Path"), L"");  // stored once the container exists
    EXPECT_EQ(w.form1.Text1.Text(), c.finalSize);
    if (c.goesOn) {
      EXPECT_EQ(w.form1.ContainerPath, L"C:\\Sorvane.cvd");
    }
    w.form2.Unload();
    w.form1.Unload();
  }
}

TEST_F(DriveStep, PasswordChecksInTheirOrder) {
  const struct {
    const wchar_t *first, *second, *box, *title;
  } cases[] = {
      {L"", L"", L"请输入密码", L"错误"},
      {L"abc defg", L"", L"请输入确认密码", L"错误"},
      {L"Password1", L"password1", L"2次输入的密码不一样，请重新输入。", L"错误"},
      {L"a c", L"a c", L"密码长度不能小于8位，请重新输入。", L"错误"},  // length before blank
      {L"1234567", L"1234567", L"密码长度不能小于8位，请重新输入。", L"错误"},
      {L"1234 5678", L"1234 5678", L"密码中不能含有空格，请重新输入。", L"注意"},
      // Its ANSI bytes are "?"s, under which anyone could unwrap the key.
      {L"가나다라마바사아자차", L"가나다라마바사아자차",
       L"密码中含有当前系统不支持的字符（例如韩文、泰文），这样的密码不能保护加密盘，请重新输入。",
       L"注意"},
  };
  w.form2.Show();
  for (auto& c : cases) {
    w.form2.Text1.Text(c.first);
    w.form2.Text2.Text(c.second);
    boxes.clear();
    Click(w.form2.Command1);
    ASSERT_EQ(boxes.size(), 1u) << forms::ToAnsi(c.first);
    EXPECT_EQ(boxes[0].prompt, c.box);
    EXPECT_EQ(boxes[0].title, c.title);
    EXPECT_TRUE(w.form2.Visible());
  }
}

}  // namespace
