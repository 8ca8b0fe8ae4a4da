// Form3: both ways of removing a container.
#include "DialogFixture.h"
#include "FileSize.h"
#include "RemoveDialog.h"
#include "ShellFiles.h"

namespace {

class RemoveTest : public DialogFixture {
 protected:
  desk::Form3 form{main.ListView1, [this] { ++main.removals; }};
  void SetUp() override { form.Load(); }
  void TearDown() override {
    if (form.IsLoaded()) form.Unload();
  }
};

constexpr wchar_t kMissing[] =
    L"您要删除的文件已经不存在了，从列表中删除吗？ 单击Y从列表中删除，单击N返回。";

TEST_F(RemoveTest, MissingFileIsAskedAboutWithEachWaysDefault) {
  const std::wstring gone = dir / L"gone.cvd";
  List(gone);
  main.ListView1.Select(1);
  struct Case {
    bool withFile;
    const wchar_t* password;
    int answer;
    bool asked;  // false: no question, the password is asked for first
    UINT defaultButton;
    bool removed;
  };
  const Case cases[] = {
      {true, L"", IDYES, false, 0, false},
      {true, L"unchecked", IDNO, true, MB_DEFBUTTON1, false},
      {false, L"", IDNO, true, MB_DEFBUTTON2, false},
      {false, L"", IDYES, true, MB_DEFBUTTON2, true},
  };
  for (const Case& c : cases) {
    (c.withFile ? form.Text1 : form.Text2).Text(c.password);
    answers = {c.answer};
    Click(c.withFile ? form.Command1 : form.Command3);
    if (c.asked)
      ExpectBox(0, kMissing, L"注意", MB_YESNO | MB_ICONQUESTION | c.defaultButton);
    else
      ExpectBox(0, L"请输入密码", L"注意", MB_ICONINFORMATION);
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(Listed().empty(), c.removed);
    EXPECT_EQ(!form.IsLoaded(), c.removed);
  }
  EXPECT_EQ(main.ListView1.Count(), 0);
  EXPECT_EQ(main.removals, 1);
}

// Either way takes a damaged file's row off the list after a question, without a password
// and without touching the file; only a file another program holds is refused as in use.
TEST_F(RemoveTest, DamagedFileRowGoesHeldFileStays) {
  const std::wstring box = dir / L"box.cvd";
  MakeContainer(box, L"right one");
  const std::string whole = ReadBytes(box);
  std::string noHeader = whole;
  noHeader[0] = 'X';
  struct Case {
    std::string bytes;
    bool withFile, held;
  };
  const Case cases[] = {
      {std::string("SR\0\0\0\4\0\0", 8), true, false},
      {whole.substr(0, 100 << 10), false, false},
      {whole.substr(0, 1024), true, false},
      {noHeader, false, false},
      {whole, true, true},
      {whole, false, true},
  };
  const wchar_t kDamaged[] =
      L"加密盘文件已经损坏或者不能读取，无法验证密码。从列表中删除这条记录吗？加密盘文件不会被删除"
      L"。 单击Y从列表中删除，单击N返回。";
  for (const Case& c : cases) {
    const std::wstring file = dir / L"damaged.cvd";
    WriteBytes(file, c.bytes);
    List(file);
    main.ListView1.Select(1);
    HANDLE holder = c.held ? CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                         OPEN_EXISTING, 0, nullptr)
                           : INVALID_HANDLE_VALUE;
    form.Load();
    (c.withFile ? form.Text1 : form.Text2).Text(L"any");
    answers = {IDYES};
    Click(c.withFile ? form.Command1 : form.Command3);
    if (c.held) {
      CloseHandle(holder);
      ExpectBox(0, L"文件处于使用或者保护状态，请确认后再试一遍。", L"注意", MB_ICONINFORMATION);
      EXPECT_EQ(Listed(), std::vector<std::wstring>{file});
      main.ListView1.Remove(1);
      ASSERT_EQ(ContainerList(ini).RemovePath(file), ListResult::Done);
    } else {
      ExpectBox(0, kDamaged, L"注意",
                MB_YESNO | MB_ICONQUESTION | (c.withFile ? MB_DEFBUTTON1 : MB_DEFBUTTON2));
      EXPECT_TRUE(Listed().empty());
    }
    EXPECT_EQ(main.ListView1.Count(), 0);
    EXPECT_EQ(ReadBytes(file), c.bytes);
  }
}

TEST_F(RemoveTest, WrongPasswordLeavesFileAndList) {
  const std::wstring box = dir / L"box.cvd";
  MakeContainer(box, L"right one");
  List(box);
  main.ListView1.Select(1);
  const std::string before = ReadBytes(box);
  for (auto [text, button] :
       {std::pair{&form.Text1, &form.Command1}, {&form.Text2, &form.Command3}}) {
    text->Text(L"wrong one");
    Click(*button);
    ExpectBox(0, L"密码错误，不能删除文件！", L"注意", MB_ICONERROR);
  }
  EXPECT_EQ(ReadBytes(box), before);
  EXPECT_EQ(Listed(), std::vector<std::wstring>{box});
  EXPECT_TRUE(form.IsLoaded());
  // With no row selected nothing is looked at.
  main.ListView1.Select(0);
  Click(form.Command3);
  EXPECT_TRUE(boxes.empty());
}

TEST_F(RemoveTest, MiddleOfThreeWithItsFile) {
  const std::wstring a = dir / L"a.cvd", b = dir / L"b b.cvd", c = dir / L"c.cvd";
  for (const auto& p : {a, b, c}) MakeContainer(p, L"pw of " + p);
  for (const auto& p : {a, b, c}) List(p);
  main.ListView1.Select(2);
  form.Text1.Text(L"pw of " + b);
  answers = {IDYES};
  Click(form.Command1);
  ExpectBox(0, L"你要删除的加密盘文件确实是 " + b + L" 吗？", L"确认删除文件",
            MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1);
  ExpectBox(1, L"删除成功", L"Velkiro", MB_ICONINFORMATION);
  EXPECT_FALSE(forms::FileExists(b));
  for (const auto& p : {a, c}) EXPECT_TRUE(forms::FileExists(p));
  EXPECT_EQ(Listed(), (std::vector<std::wstring>{a, c}));
  EXPECT_EQ(Rows(), (std::vector<std::wstring>{a, c}));
  EXPECT_EQ(main.removals, 1);
  EXPECT_FALSE(form.IsLoaded());
}

TEST_F(RemoveTest, RecordOnlyKeepsTheFile) {
  const std::wstring a = dir / L"a.cvd", b = dir / L"b.cvd";
  MakeContainer(a, L"first");
  MakeContainer(b, L"second");
  List(a);
  List(b);
  main.ListView1.Select(1);
  form.Text2.Text(L"first");
  Click(form.Command3);
  ExpectBox(0, L"删除成功", L"Velkiro", MB_ICONINFORMATION);
  EXPECT_EQ(boxes.size(), 1u);  // no question before
  EXPECT_TRUE(forms::FileExists(a));
  EXPECT_EQ(Listed(), std::vector<std::wstring>{b});
  EXPECT_EQ(Rows(), std::vector<std::wstring>{b});
}

// A name the ANSI code page cannot hold would reach an ANSI shell call as "b?b.cvd", a pattern
// matching its neighbours too.
TEST(ShellFiles, ActOnTheExactPathOnly) {
  TempDir dir{L"desk_shell_files"};
  const std::wstring odd = dir / L"b\uD55Cb.cvd", copy = dir / L"c\uD55Cc.cvd";
  const std::wstring neighbours[] = {dir / L"b_b.cvd", dir / L"bxb.cvd", dir / L"c_c.cvd"};
  MakeFile(odd, 3000);
  for (const auto& n : neighbours) MakeFile(n, 10);
  EXPECT_EQ(desk::CopyOrMoveFile(nullptr, odd, copy, false), desk::ShellResult::Done);
  EXPECT_EQ(FileBytes(copy), 3000);
  EXPECT_EQ(desk::DeleteFileExactly(nullptr, odd), desk::ShellResult::Done);
  EXPECT_FALSE(forms::FileExists(odd));
  for (const auto& n : neighbours) EXPECT_EQ(FileBytes(n), 10);
  // A wildcard in a path is never handed on.
  EXPECT_EQ(desk::DeleteFileExactly(nullptr, dir / L"b?b.cvd"), desk::ShellResult::Failed);
  EXPECT_EQ(desk::CopyOrMoveFile(nullptr, copy, dir / L"*.cvd", true), desk::ShellResult::Failed);
  for (const auto& n : neighbours) EXPECT_EQ(FileBytes(n), 10);
  EXPECT_EQ(FileBytes(copy), 3000);
}

}  // namespace
