// The create dialog: its checks in their order, the browse step, the container it makes, and
// what it does when making the file fails.
#include <cstring>
#include <cwchar>

#include "ContainerMaking.h"
#include "CutAtNul.h"
#include "DeskFixture.h"
#include "PasswordVerifier.h"
#include "SorvLibs.h"

namespace {

constexpr long long MiB = 1 << 20;

class CreateTest : public DeskFixture {
 protected:
  desk::Form2& dialog = main.createDialog;
  std::wstring path = dir / L"new.cvd";

  void SetUp() override {
    main.Show();
    dialog.Show();
  }
  void Fill(const std::wstring& file, const std::wstring& password, const std::wstring& confirm,
            const std::wstring& size) {
    dialog.Text1.Text(file);
    dialog.Text3.Text(password);
    dialog.Text4.Text(confirm);
    dialog.Text2.Text(size);
  }
  void OnDrive(const std::wstring& fileSystem, uint64_t freeBytes) {
    dialog.DriveQuery = [=](const std::wstring& d) {
      forms::Drive drive = forms::GetDrive(d);
      drive.FileSystem = fileSystem;
      drive.FreeSpace = freeBytes;
      return drive;
    };
  }
  static std::string Block(const std::string& file, int index) {
    return CutAtNul(file.substr(index * 64, 64));
  }
};

TEST_F(CreateTest, ChecksInTheirOrderWithTheirBoundaries) {
  WriteBytes(dir / L"taken.cvd", "x");
  CreateDirectoryW((dir / L"folder").c_str(), nullptr);
  const std::wstring ok = L"12345678";
  struct Row {
    std::wstring file, password, confirm, size, fs;
    uint64_t free;
    const wchar_t* message;  // "": accepted
    UINT icon;
  };
  const UINT warn = MB_ICONEXCLAMATION;
  const Row rows[] = {
      {L"", ok, ok, L"10", L"NTFS", 1 << 30,
       L"请选择放置加密盘文件的文件夹，并确定加密盘文件的文件名", warn},
      {dir / L"taken.cvd", ok, ok, L"10", L"NTFS", 1 << 30,
       L"你要创建的文件在当前目录下已经存在，请更改文件名或者更改文件夹。", warn},
      {L"", L"", ok, L"10", L"NTFS", 1 << 30,
       L"请选择放置加密盘文件的文件夹，并确定加密盘文件的文件名", warn},
      {path, L"", ok, L"10", L"NTFS", 1 << 30, L"请输入密码", warn},
      {path, L"1234567", L"", L"10", L"NTFS", 1 << 30, L"请输入确认密码", warn},
      {path, L"1234567", L"1234567", L"10", L"NTFS", 1 << 30, L"密码长度不能小于8位，请重新输入。",
       warn},
      {path, L"1234 5678", L"1234 5678", L"10", L"NTFS", 1 << 30,
       L"密码中不能含有空格，请重新输入。", warn},
      {path, ok, L"12345679", L"10", L"NTFS", 1 << 30, L"2次输入的密码不同，请重新输入。", warn},
      // A password whose ANSI bytes are "?"s would wrap the key under "??????????".
      {path, L"가나다라마바사아자차", L"가나다라마바사아자차", L"10", L"NTFS", 1 << 30,
       L"密码中含有当前系统不支持的字符（例如韩文、泰文），这样的密码不能保护加密盘，请重新输入。",
       warn},
      {path, L"中文密码Ab1!", L"中文密码Ab1!", L"10", L"NTFS", 1 << 30, L"", 0},
      {path, ok, ok, L"9", L"NTFS", 1 << 30, L"文件大小不能小于10M", warn},
      {path, ok, ok, L"-1", L"NTFS", 1 << 30, L"文件大小不能小于10M", warn},
      {path, ok, ok, L"1234567890123", L"NTFS", 1ull << 40, L"文件大小不能大于磁盘的剩余空间",
       warn},
      {path, ok, ok, L"10", L"NTFS", 10 * MiB, L"", 0},  // exactly the free space
      {path, ok, ok, L"10", L"NTFS", 10 * MiB - 1, L"文件大小不能大于磁盘的剩余空间", warn},
      {path, ok, ok, L"4000", L"FAT32", 1ull << 40, L"", 0},
      {path, ok, ok, L"4001", L"FAT32", 1ull << 40,
       L"在FAT32或FAT磁盘分区格式下单个文件大小不能超过4G。", MB_ICONINFORMATION},
      {path, ok, ok, L"4001", L"FAT", 1ull << 40,
       L"在FAT32或FAT磁盘分区格式下单个文件大小不能超过4G。", MB_ICONINFORMATION},
      {path, ok, ok, L"5000", L"NTFS", 1ull << 40, L"", 0},
      {path, ok, ok, L"10", L"CDFS", 1ull << 40, L"Velkiro不支持当前的磁盘格式", MB_ICONERROR},
      // Neither an empty nor a pasted size is ever taken as a size.
      {path, ok, ok, L"", L"NTFS", 1 << 30, L"输入了非法字符，请输入一个数字", warn},
      {path, ok, ok, L"1e3", L"NTFS", 1 << 30, L"输入了非法字符，请输入一个数字", warn},
      // Only a full "X:\..." path that names no folder and survives the ANSI code page.
      {L"\\\\server\\share\\a.cvd", ok, ok, L"10", L"NTFS", 1 << 30,
       L"加密盘文件要放在本机的磁盘上，请选择以盘符开头的文件路径，例如 D:\\Sorvane.cvd。", warn},
      {L"x.cvd", ok, ok, L"10", L"NTFS", 1 << 30,
       L"加密盘文件要放在本机的磁盘上，请选择以盘符开头的文件路径，例如 D:\\Sorvane.cvd。", warn},
      {dir / L"folder", ok, ok, L"10", L"NTFS", 1 << 30,
       L"你选择的是一个文件夹，请在文件夹后面加上加密盘文件的文件名。", warn},
      {dir / L"\u0100.cvd", ok, ok, L"10", L"NTFS", 1 << 30,
       L"文件路径中含有当前系统不支持的字符，请更改文件名或者更改文件夹。", warn},
      // Quoted, the path must fit one 255-byte word of the mount command.
      {PathOfAnsiBytes(253), ok, ok, L"10", L"NTFS", 1 << 30, L"", 0},
      {PathOfAnsiBytes(254), ok, ok, L"10", L"NTFS", 1 << 30,
       L"加密盘文件的路径太长，不能加载：路径连同两边的引号不能超过255字节（一个汉字算2字节），"
       L"请选择较短的路径。",
       warn},
  };
  for (const Row& r : rows) {
    Fill(r.file, r.password, r.confirm, r.size);
    OnDrive(r.fs, r.free);
    boxes.clear();
    std::wstring full, password;
    int32_t mib = 0;
    const bool accepted = dialog.CheckInputs(full, mib, password);
    const std::string where = forms::ToAnsi(r.file + L" " + r.size + L" " + r.fs);
    EXPECT_EQ(Box(), r.message) << where;
    EXPECT_EQ(accepted, *r.message == 0) << where;
    if (accepted) EXPECT_EQ(std::to_wstring(mib), r.size) << where;
    if (!boxes.empty()) {
      EXPECT_EQ(boxes[0].title, L"注意");
      EXPECT_EQ(boxes[0].Icon(), r.icon) << where;
    }
  }
  EXPECT_FALSE(forms::FileExists(path));  // the checks make nothing
}

TEST_F(CreateTest, SpinStepsByOneWithoutWrapping) {
  const std::tuple<std::wstring, int, std::wstring> rows[] = {
      {L"10", +1, L"11"},
      {L"0", -1, L"-1"},  // no clamping: the checks refuse it
      {L"1234567890123", +1, L"1234567890124"},
      {L"1234567890123", -1, L"1234567890122"},
  };
  for (auto& [before, step, after] : rows) {
    dialog.Text2.Text(before);
    step > 0 ? dialog.SpinButton1.SpinUp() : dialog.SpinButton1.SpinDown();
    EXPECT_EQ(dialog.Text2.Text(), after) << forms::ToAnsi(before);
  }
  EXPECT_NE(SendMessageW(dialog.Image1.hWnd(), STM_GETICON, 0, 0), 0);  // its picture
}

TEST_F(CreateTest, BrowseAppendsCvdOnlyWithTheFirstFilter) {
  const std::tuple<std::wstring, int, std::wstring> rows[] = {
      {L"C:\\data\\box", 1, L"C:\\data\\box.cvd"},
      {L"C:\\data\\box.CVD", 1, L"C:\\data\\box.CVD.cvd"},
      {L"C:\\data\\box.cvd", 1, L"C:\\data\\box.cvd"},
      {L"C:\\data\\box", 2, L"C:\\data\\box"},
  };
  for (auto& [name, filter, expected] : rows) {
    chosen = name;
    filterIndex = filter;
    Click(dialog.Command1.hWnd());
    EXPECT_EQ(dialog.Text1.Text(), expected);
  }
  ASSERT_FALSE(dialogs.empty());
  EXPECT_TRUE(dialogs[0].save);
  EXPECT_EQ(dialogs[0].title, L"请选择放置加密盘文件的文件夹，并确定加密盘文件的文件名");
  EXPECT_EQ(dialogs[0].filter, L"CVD files (*.cvd)|*.cvd|All files (*.*)|*.*");
  EXPECT_EQ(dialogs[0].fileName, L"Sorvane.cvd");
  chosen.clear();  // cancelled: nothing changes, nothing is said
  Click(dialog.Command1.hWnd());
  EXPECT_EQ(dialog.Text1.Text(), L"C:\\data\\box");
  EXPECT_TRUE(boxes.empty());
}

TEST_F(CreateTest, MakesTheContainerListsItAndMakesItCurrent) {
  // Both ways of making the file: the sparse program (NTFS) and the zero fill (FAT32).
  for (const wchar_t* fs : {L"NTFS", L"FAT32"}) {
    dialog.Show();
    path = dir / (std::wstring(fs) + L" box.cvd");
    Fill(path, L"中文密码Ab1!", L"中文密码Ab1!", L"10");
    OnDrive(fs, 1ull << 40);
    answers = {IDYES};
    boxes.clear();
    Click(dialog.Command2.hWnd());
    ASSERT_EQ(boxes.size(), 1u) << forms::ToAnsi(Box());
    EXPECT_EQ(boxes[0].title, L"恭喜，加密盘创建成功！要加载刚刚创建的文件吗？");
    EXPECT_EQ(boxes[0].prompt, L"单击Y会加载刚刚创建的文件，单击N返回主窗口，需要的时候再加载。");
    EXPECT_EQ(boxes[0].Buttons(), UINT(MB_YESNO));
    EXPECT_FALSE(dialog.IsLoaded());

    const std::string file = ReadBytes(path);
    ASSERT_EQ(file.size(), size_t(10 * MiB));
    const uint32_t header[] = {1024, 1};
    EXPECT_EQ(file.substr(0, 4), std::string("SR\0\0", 4));
    EXPECT_EQ(file.substr(4, 8), std::string(reinterpret_cast<const char*>(header), 8));
    EXPECT_EQ(Block(file, 1), verifier::PasswordVerifier("中文密码Ab1!"));
    char key[64] = {};
    // The key is wrapped under the password's bytes in code page 936 (GBK).
    sorvlib::AESDecryptB64(Block(file, 2).c_str(), "\xD6\xD0\xCE\xC4\xC3\xDC\xC2\xEB" "Ab1!", key);
    EXPECT_EQ(std::strlen(key), 16u);
    EXPECT_EQ(std::string(key).find_first_not_of(
                  "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/"),
              std::string::npos);

    const int n = main.ListView1.Count();
    EXPECT_EQ(ListKey(L"CvdFileCount", L"Count"), std::to_wstring(n));
    EXPECT_EQ(ListKey(L"CvdFileList", std::to_wstring(n).c_str()), path);
    EXPECT_EQ(main.RowPath(n), path);
    EXPECT_EQ(main.ListView1.SubItem(n, 3), L"10M");
    EXPECT_EQ(GetSetting(L"Path"), path);
    EXPECT_EQ(main.ListView1.SmallIcon(n), 2);
    EXPECT_TRUE(main.btnActivate.Enabled());
  }
  EXPECT_EQ(main.ListView1.SmallIcon(1), 1);
}

// The fill lets the message loop run: a password typed meanwhile is not the one used.
TEST_F(CreateTest, ThePasswordCheckedIsThePasswordUsed) {
  Fill(path, L"checkedPW1", L"checkedPW1", L"10");
  OnDrive(L"FAT32", 1ull << 40);
  answers = {IDNO};
  auto old = making::SetZeroWriter([&](HANDLE h, const void* data, DWORD size, DWORD* written) {
    dialog.Text3.Text(L"typedLater");
    dialog.Text4.Text(L"typedLater");
    return WriteFile(h, data, size, written, nullptr);
  });
  Click(dialog.Command2.hWnd());
  making::SetZeroWriter(old);
  ASSERT_EQ(boxes.size(), 1u) << forms::ToAnsi(Box());
  const std::string file = ReadBytes(path);
  EXPECT_EQ(Block(file, 1), verifier::PasswordVerifier("checkedPW1"));
  char key[64] = {};
  sorvlib::AESDecryptB64(Block(file, 2).c_str(), "checkedPW1", key);
  EXPECT_EQ(std::strlen(key), 16u);
  EXPECT_EQ(std::string(key).find_first_not_of(
                "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/"),
            std::string::npos);
}

TEST_F(CreateTest, AFailedZeroFillEndsTheProgramThroughItsUnload) {
  WriteBytes(dir / L"current.cvd", std::string(2 * MiB, '\0'));
  SetSetting(L"Path", dir / L"current.cvd");
  SetSetting(L"IsProtectFile", L"1");
  DeleteFileW(mountLog.c_str());
  Fill(path, L"password", L"password", L"10");
  OnDrive(L"FAT32", 1ull << 40);
  bool busy = false, closed = true;
  auto old = making::SetZeroWriter([&](HANDLE h, const void* data, DWORD size, DWORD* written) {
    // Meanwhile the dialog takes no click and the main window does not close.
    busy = !dialog.Command2.Enabled() && !dialog.Command3.Enabled();
    closed = main.Unload();
    if (busy) return FALSE;
    return WriteFile(h, data, size, written, nullptr);
  });
  Click(dialog.Command2.hWnd());
  making::SetZeroWriter(old);
  EXPECT_TRUE(busy);
  EXPECT_FALSE(closed);
  EXPECT_EQ(Box(), L"WriteFile error");
  ASSERT_FALSE(boxes.empty());
  EXPECT_EQ(boxes[0].title, L"System error");
  EXPECT_FALSE(forms::FileExists(path));
  EXPECT_FALSE(main.IsLoaded());
  EXPECT_FALSE(dialog.IsLoaded());
  EXPECT_NE(ReadBytes(mountLog).find("/lockfile 0 "), std::string::npos);
}

TEST_F(CreateTest, MissingSparseProgramOrFolderMakesNothing) {
  Fill(path, L"password", L"password", L"10");
  OnDrive(L"NTFS", 1ull << 40);
  const std::wstring sparse = making::SparseProgram(), away = sparse + L".away";
  ASSERT_TRUE(MoveFileW(sparse.c_str(), away.c_str()));
  Click(dialog.Command2.hWnd());
  MoveFileW(away.c_str(), sparse.c_str());
  EXPECT_EQ(Box(), L"没有找到创建加密盘文件的程序 SorvSparse.exe，请重新安装Velkiro。");
  EXPECT_TRUE(dialog.IsLoaded());
  EXPECT_TRUE(dialog.Command2.Enabled());

  // A folder that is not there: the same message on both ways of making the file.
  for (const wchar_t* fs : {L"NTFS", L"FAT32"}) {
    Fill(dir / L"no such dir\\a b.cvd", L"password", L"password", L"10");
    OnDrive(fs, 1ull << 40);
    boxes.clear();
    Click(dialog.Command2.hWnd());
    EXPECT_EQ(Box(), L"不能创建加密盘文件，请更改文件名或者更改文件夹后重新创建加密盘。")
        << forms::ToAnsi(fs);
  }
  EXPECT_EQ(main.ListView1.Count(), 0);
}

TEST_F(CreateTest, ListThatCannotTakeTheEntryLeavesNoFile) {
  const std::string damaged = "[CvdFileCount]\r\nCount=3x\r\n";
  const wchar_t kDamaged[] = L"加密盘列表文件 List.ini 已损坏（记录数 Count 无效），为免丢失记录，本次没有修改它：";
  const wchar_t kUnwritten[] = L"不能把加密盘文件写入列表文件 List.ini，请检查程序文件夹后重新尝试一遍。";
  const wchar_t kDeleted[] = L"加密盘没有加入列表，刚刚创建的加密盘文件已经删除，请重新创建加密盘。";
  // Damaged: refused before the file is made. A folder holding the name: found only when the
  // key does not read back, so the file just made is deleted again.
  for (bool folder : {false, true}) {
    DeleteFileW(listFile.c_str());
    folder ? (void)CreateDirectoryW(listFile.c_str(), nullptr) : WriteBytes(listFile, damaged);
    Fill(path, L"password", L"password", L"10");
    OnDrive(L"NTFS", 1ull << 40);
    boxes.clear();
    Click(dialog.Command2.hWnd());
    if (folder) {
      ASSERT_EQ(boxes.size(), 2u);
      EXPECT_EQ(Box(0), kUnwritten);
      EXPECT_EQ(Box(1), kDeleted);
    } else {
      ASSERT_EQ(boxes.size(), 1u);
      EXPECT_EQ(Box().substr(0, std::wcslen(kDamaged)), kDamaged);
      EXPECT_EQ(ReadBytes(listFile), damaged);
    }
    EXPECT_FALSE(forms::FileExists(path));
    EXPECT_EQ(main.ListView1.Count(), 0);
    EXPECT_TRUE(GetSetting(L"Path").empty());
    EXPECT_TRUE(dialog.IsLoaded());
  }
}

}  // namespace
