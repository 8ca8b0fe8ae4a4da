// Step 3 makes, lists, mounts, formats and unmounts; step 4 hands over to the tray program.
#include "ContainerMaking.h"
#include "CutAtNul.h"
#include "FakeNamespace.h"
#include "InstanceSemaphore.h"
#include "MappedDrive.h"
#include "NewDrive.h"
#include "ContainerList.h"
#include "SorvCtl.h"
#include "SorvLibs.h"
#include "WizardFixture.h"

namespace {

const wchar_t kInitFailed[] = L"初始化加密盘文件失败！请稍后重新创建加密盘。";
const wchar_t kMountFailed[] = L"未知的原因使加载文件失败，请检查后重新尝试一遍";
const wchar_t kFormatNow[] =
    L"加密盘创建完成，单击“确定”按钮将调用系统格式化程序格式化您创建的加密盘。";

class Creation : public WizardFixture {
 protected:
  Creation() {
    drives = {FakeDrive(disk.Letter(), L"NTFS", 100000)};
    SetEnvironmentVariableW(L"SORV_MOUNT_DEFINE", wizard::OurDevice);
  }
  ~Creation() override {
    if (!letter.empty()) DefineDosDeviceW(DDD_REMOVE_DEFINITION, letter.c_str(), nullptr);
  }

  std::vector<std::wstring> Listed() {
    std::vector<std::wstring> paths;
    ContainerList(listFile).Load(paths);
    return paths;
  }
  std::string Block(int index) {
    std::string buffer(128, '\0');
    sorvlib::CVD_ReadDataBlock(forms::ToAnsi(path).c_str(), index, buffer.data());
    return CutAtNul(buffer);
  }

  TempDir dir{L"wizard_creation"};
  MappedDrive disk{dir.path()};
  std::wstring path = disk.Drive() + L"\\Sorvane.cvd";
  std::wstring letter = wizard::FreeLetterFromZ();  // where the mount goes
};

TEST_F(Creation, MadeListedMountedFormattedAndUnmounted) {
  ASSERT_NE(disk.Letter(), 0);
  ASSERT_FALSE(letter.empty());
  drives[0].FileSystem = L"FAT32";  // zero-filled
  bool stayed = false;
  onBox = [&](const forms::MsgBoxCall& call) {
    if (call.prompt != kFormatNow) return;
    SendMessageW(w.form3.hWnd(), WM_CLOSE, 0, 0);  // refused while the sequence runs
    stayed = w.form3.IsLoaded();
  };
  Create(L"10", L"中文密码Ab1!");
  EXPECT_TRUE(stayed);
  ASSERT_TRUE(Shown(kFormatNow));
  EXPECT_EQ(boxes.size(), 1u) << forms::ToAnsi(boxes[0].prompt);

  const std::string file = ReadBytes(path);
  ASSERT_EQ(file.size(), 10 * MiB);
  EXPECT_EQ(file.substr(0, 2), "SR");
  SorvCtl ctl;
  ctl.SetPassword(L"中文密码Ab1!");
  EXPECT_EQ(Block(1), forms::ToAnsi(ctl.Verifier()));
  std::string key(64, '\0');
  // Wrapped under the password's bytes in code page 936 (GBK).
  sorvlib::AESDecryptB64(Block(2).c_str(), "\xD6\xD0\xCE\xC4\xC3\xDC\xC2\xEB" "Ab1!", key.data());
  key = CutAtNul(key);  // one AES block: the 16 key characters the driver uses

  // The mount gets the whole 24-character disk key.
  const std::string drive = forms::ToAnsi(letter);
  const std::string mount = "/mount 0 " + forms::ToAnsi(path) + " " + drive + " ";
  auto lines = TakeLines(mountLog);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].substr(0, mount.size()), mount);
  EXPECT_EQ(lines[0].size(), mount.size() + 24);
  EXPECT_EQ(lines[0].substr(mount.size(), 16), key);
  EXPECT_EQ(lines[1], "/umount " + drive);
  const std::string owner = std::to_string(reinterpret_cast<uintptr_t>(w.form3.hWnd()));
  EXPECT_EQ(
      TakeLines(formatLog),
      (std::vector<std::string>{"format " + owner + " " + std::to_string(drive[0] - 'A') + " 1",
                                "label " + drive + "\\ \xE5\x8A\xA0\xE5\xAF\x86\xE7\x9B\x98"}));
  EXPECT_FALSE(forms::DriveExists(letter));
  EXPECT_EQ(Listed(), std::vector<std::wstring>{path});
  EXPECT_TRUE(w.form4.Visible());
  EXPECT_FALSE(w.form3.Visible());
  // The hidden step 2 keeps no password once step 3 has read it.
  EXPECT_EQ(w.form2.Text1.Text() + w.form2.Text2.Text(), L"");
}

TEST_F(Creation, SparseProgramThatIsSlowFailsOrIsMissing) {
  ASSERT_NE(disk.Letter(), 0);
  const std::wstring sparse = forms::AppPath() + L"\\SorvSparse.exe";
  const std::wstring away = sparse + L".away";
  const std::string old = "the old container, agreed to be overwritten";
  const struct {
    const wchar_t* mode;
    bool made, overwrite;
  } cases[] = {{L"", true, false},       {L"slow", true, false},     {L"lost", false, false},
               {L"short", false, false}, {L"missing", false, false}, {L"lost", false, true},
               {L"short", false, true},  {L"kept", false, false},  {L"kept", false, true}};
  for (auto& c : cases) {
    SCOPED_TRACE(forms::ToAnsi(c.mode) + (c.overwrite ? " overwrite" : ""));
    DeleteFileW(path.c_str());
    DeleteFileW(listFile.c_str());
    SetSetting(L"Path", L"C:\\before.cvd");
    SetEnvironmentVariableW(L"SORV_SPARSE_MODE", c.mode);
    if (std::wstring(c.mode) == L"missing") MoveFileW(sparse.c_str(), away.c_str());
    if (c.overwrite) {
      // Step 1 took the old file's password: the agreement is all that step 3 is handed.
      WriteBytes(path, old);
      w.form1.Overwrite = wizard::HeldFile(path).Identity();
      w.form1.ContainerPath = path;
      w.form1.Show();
      w.form1.Text1.Text(L"10");
      boxes.clear();
      w.form3.Show();
    } else {
      Create();
    }
    if (std::wstring(c.mode) == L"missing") MoveFileW(away.c_str(), sparse.c_str());
    EXPECT_EQ(Shown(kInitFailed), !c.made);
    EXPECT_EQ(w.ended, !c.made);
    EXPECT_EQ(w.form4.Visible(), c.made);
    EXPECT_EQ(Listed().size(), c.made ? 1u : 0u);
    if (c.overwrite)
      EXPECT_EQ(ReadBytes(path), old);
    else
      EXPECT_EQ(ReadBytes(path).size(), c.made ? 10 * MiB : 0);
    using Names = std::vector<std::wstring>;  // nothing half made is left
    EXPECT_EQ(FilesIn(dir.path()), c.made || c.overwrite ? Names{L"Sorvane.cvd"} : Names{});
    EXPECT_EQ(GetSetting(L"Path"), c.made ? path : L"C:\\before.cvd");
    w.End();
    w.ended = false;
  }
}

TEST_F(Creation, ListThatCannotTakeTheEntryLeavesNoFile) {
  ASSERT_NE(disk.Letter(), 0);
  // Damaged: refused at step 1, before any file is deleted or made.
  const std::string damaged = "[CvdFileCount]\r\nCount=3x\r\n";
  WriteBytes(listFile, damaged);
  Step1(L"10");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].prompt.find(L"加密盘列表文件 List.ini 已损坏"), 0u);
  EXPECT_FALSE(w.form2.Visible());
  EXPECT_EQ(ReadBytes(listFile), damaged);
  w.form1.Unload();
  // A folder holding its name: found only when the entry does not read back, so the file
  // just made is deleted again and nothing is mounted.
  DeleteFileW(listFile.c_str());
  ASSERT_TRUE(CreateDirectoryW(listFile.c_str(), nullptr));
  Create();
  RemoveDirectoryW(listFile.c_str());
  EXPECT_TRUE(Shown(L"加密盘没有加入列表，刚刚创建的加密盘文件已经删除，请重新创建加密盘。"));
  EXPECT_FALSE(forms::FileExists(path));
  EXPECT_TRUE(TakeLines(mountLog).empty());
  EXPECT_TRUE(w.ended);
}

TEST_F(Creation, LetterTakenByAnotherDriveIsLeftAlone) {
  ASSERT_NE(disk.Letter(), 0);
  SetEnvironmentVariableW(L"SORV_MOUNT_DEFINE", L"\\Device\\Null");
  Create();
  EXPECT_TRUE(Shown(kMountFailed));
  EXPECT_FALSE(Shown(kFormatNow));
  auto lines = TakeLines(mountLog);
  ASSERT_EQ(lines.size(), 1u);  // no unmount, no kill
  EXPECT_EQ(lines[0].substr(0, 7), "/mount ");
  EXPECT_TRUE(TakeLines(formatLog).empty());
  EXPECT_EQ(Listed(), std::vector<std::wstring>{path});
  EXPECT_TRUE(w.form4.Visible());
}

TEST_F(Creation, NoFreeLetterSendsNoMount) {
  ASSERT_NE(disk.Letter(), 0);
  std::vector<std::wstring> taken;
  for (wchar_t c = L'D'; c <= L'Z'; ++c) {
    std::wstring d{c, L':'};
    if (!forms::DriveExists(d) &&
        DefineDosDeviceW(DDD_RAW_TARGET_PATH, d.c_str(), L"\\Device\\Null"))
      taken.push_back(d);
  }
  Create();
  for (auto& d : taken)
    DefineDosDeviceW(DDD_RAW_TARGET_PATH | DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE,
                     d.c_str(), L"\\Device\\Null");
  EXPECT_TRUE(Shown(L"没有可用的盘符，无法加载加密盘。请先释放一个盘符再重试。"));
  EXPECT_TRUE(TakeLines(mountLog).empty());
  EXPECT_TRUE(TakeLines(formatLog).empty());
  EXPECT_EQ(Listed(), std::vector<std::wstring>{path});
  EXPECT_TRUE(w.form4.Visible());
}

TEST_F(Creation, FileAtThePathNotAgreedToIsLeftAlone) {
  ASSERT_NE(disk.Letter(), 0);
  const std::wstring current = dir / L"current.cvd";
  SetSetting(L"Path", current);
  w.form1.ContainerPath = path;  // step 1 found no file there
  WriteBytes(path, "a file that came since");
  w.form1.Text1.Text(L"10");
  w.form3.Show();
  EXPECT_TRUE(Shown(L"加密盘文件的位置上有一个没有确认覆盖的文件，没有覆盖它，请重新运行向导。"));
  EXPECT_EQ(ReadBytes(path), "a file that came since");
  EXPECT_EQ(GetSetting(L"Path"), current);
  EXPECT_TRUE(w.ended);
}

using HandOver = WizardFixture;

TEST_F(HandOver, RefusedInstanceLetsGoBeforeItsMessage) {
  HANDLE first = TakeInstanceSemaphore();
  ASSERT_NE(first, nullptr);
  bool heldDuringMessage = true;
  onBox = [&](const forms::MsgBoxCall&) {
    CloseHandle(first);  // the first program ends without giving its count back
    first = nullptr;
    HANDLE probe = CreateSemaphoreA(nullptr, 1, 1, "Sorvane");
    heldDuringMessage = GetLastError() == ERROR_ALREADY_EXISTS;
    CloseHandle(probe);
  };
  EXPECT_EQ(TakeInstanceSemaphore(), nullptr);
  EXPECT_TRUE(Shown(L"您已经运行了向导程序或者“启动Velkiro”程序，请先退出再尝试运行本程序"));
  EXPECT_FALSE(heldDuringMessage);
}

// Where the system has private namespaces, another program that made and holds the plain
// name stops no start; one instance is still the rule.
TEST_F(HandOver, APlainNameHeldElsewhereStopsNoStart) {
  HANDLE squatter = CreateSemaphoreA(nullptr, 1, 1, "Sorvane");
  ASSERT_EQ(WaitForSingleObject(squatter, 0), WAIT_OBJECT_0);
  {
    testsupport::FakeNamespace space;
    HANDLE first = TakeInstanceSemaphore();
    EXPECT_NE(first, nullptr);
    EXPECT_EQ(TakeInstanceSemaphore(), nullptr);
    EXPECT_EQ(boxes.size(), 1u) << "the second start is refused";
    ReleaseInstanceSemaphore(first);
  }
  CloseHandle(squatter);
}

TEST_F(HandOver, TrayProgramGetsTheCountWhileAnotherHandleIsOpen) {
  w.semaphore = TakeInstanceSemaphore();
  ASSERT_NE(w.semaphore, nullptr);
  HANDLE other = OpenSemaphoreA(SYNCHRONIZE, FALSE, "Sorvane");  // an instance still around
  w.form4.Show();
  Click(w.form4.Command1);
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].first, L"\"" + forms::AppPath() + L"\\start.exe\"");
  EXPECT_EQ(starts[0].second, forms::WindowStyle::NormalFocus);
  EXPECT_TRUE(w.ended);
  EXPECT_TRUE(forms::Forms().empty());
  HANDLE tray = TakeInstanceSemaphore();
  EXPECT_NE(tray, nullptr);
  ReleaseInstanceSemaphore(tray);
  CloseHandle(other);
}

TEST_F(HandOver, ClosingAWindowThatHidesTheOthersEndsTheProgram) {
  for (forms::Form* shown :
       {static_cast<forms::Form*>(&w.form2), static_cast<forms::Form*>(&w.form4)}) {
    w.form1.Show();
    w.form1.Hide();
    shown->Show();
    SendMessageW(shown->hWnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(w.ended);
    EXPECT_TRUE(forms::Forms().empty());
    w.ended = false;
  }
  EXPECT_TRUE(starts.empty());
}

}  // namespace
