#include "CreateForm.h"

#include <commctrl.h>

#include <algorithm>

#include "ContainerList.h"
#include "ContainerMaking.h"
#include "CutAtNul.h"
#include "DeskIcons.h"
#include "FileSize.h"
#include "ListMessages.h"
#include "MainForm.h"
#include "MountWord.h"
#include "PublicFunc.h"
#include "Wipe.h"

namespace desk {
namespace {

constexpr wchar_t kNotice[] = L"注意";
constexpr wchar_t kError[] = L"错误";
constexpr wchar_t kExists[] = L"你要创建的文件在当前目录下已经存在，请更改文件名或者更改文件夹。";
constexpr wchar_t kChoosePath[] = L"请选择放置加密盘文件的文件夹，并确定加密盘文件的文件名";
constexpr wchar_t kIllegalChar[] = L"输入了非法字符，请输入一个数字";
constexpr wchar_t kBlock2Failed[] = L"对加密盘文件写密文失败，请重新创建加密盘。";
constexpr uint64_t kMiB = 1 << 20;

bool Refuse(const wchar_t* text, UINT icon = MB_ICONEXCLAMATION) {
  forms::MsgBox(text, MB_OK | icon, kNotice);
  return false;
}

void Fail(const wchar_t* text) { forms::MsgBox(text, MB_OK | MB_ICONERROR, kError); }

// Sizes beyond any disk are held at this value: stepping or comparing them never overflows.
constexpr int64_t kSizeLimit = 999999999999999999;

// The size text as a number, an optional "-" then digits; false when it is empty or holds
// anything else (pasted text).
bool SizeValue(const std::wstring& text, int64_t& n) {
  const bool negative = !text.empty() && text[0] == L'-';
  const std::wstring digits = text.substr(negative ? 1 : 0);
  if (digits.empty()) return false;
  n = 0;
  for (wchar_t c : digits) {
    if (c < L'0' || c > L'9') return false;
    n = n > kSizeLimit / 10 ? kSizeLimit : std::min(kSizeLimit, n * 10 + (c - L'0'));
  }
  if (negative) n = -n;
  return true;
}

bool StartsWithDrive(const std::wstring& path) {
  return path.size() > 3 && iswalpha(path[0]) && path[1] == L':' && path[2] == L'\\';
}

// The full path: "X:\..." only (a share or device path has no drive to ask about, and a
// relative one would land in whatever folder is current).
std::wstring FullDrivePath(const std::wstring& text) {
  if (!StartsWithDrive(text)) return {};
  wchar_t full[MAX_PATH * 2] = {};
  DWORD n = GetFullPathNameW(text.c_str(), MAX_PATH * 2, full, nullptr);
  if (n == 0 || n >= MAX_PATH * 2) return {};
  std::wstring path(full, n);
  return StartsWithDrive(path) ? path : std::wstring();
}

}  // namespace

Form2::Form2(Form1& main) : main_(main) {
  ClientSize(6360, 4260);
  Border(forms::BorderStyle::FixedDialog);
}

void Form2::Design() {
  Frame1.Create(*this, nullptr, L"", 120, 120, 6120, 780);
  Text1.Create(*this, &Frame1, L"", 150, 330, 5160, 300);
  Command1.Create(*this, &Frame1, L"...", 5430, 330, 540, 300);
  Command1.Click = [this] { Command1_Click(); };
  Frame2.Create(*this, nullptr, L"", 120, 1020, 6120, 780);
  Text2.Create(*this, &Frame2, L"", 150, 330, 1500, 300);
  Text2.KeyPress = [this](int& key) { Text2_KeyPress(key); };
  Text2.GotFocus = [this] { Text2.SelectAll(); };
  SpinButton1.Create(*this, &Frame2, 1650, 330, 255, 300);
  SpinButton1.SpinUp = [this] { Spin(1); };
  SpinButton1.SpinDown = [this] { Spin(-1); };
  Frame3.Create(*this, nullptr, L"", 120, 1920, 6120, 1260);
  Label1.Create(*this, &Frame3, L"", 150, 360, 1200, 255);
  Text3.Create(*this, &Frame3, L"", 1400, 330, 3000, 300);
  Text3.PasswordChar(L'*');
  Label2.Create(*this, &Frame3, L"", 150, 780, 1200, 255);
  Text4.Create(*this, &Frame3, L"", 1400, 750, 3000, 300);
  Text4.PasswordChar(L'*');
  Image1.Create(*this, &Frame3, 5000, 330, 480, 480);
  Command2.Create(*this, nullptr, L"", 3480, 3420, 1260, 360);
  Command2.Default(true);
  Command2.Click = [this] { CreateContainer(); };
  Command3.Create(*this, nullptr, L"", 4920, 3420, 1260, 360);
  Command3.Cancel(true);
  Command3.Click = [this] { Unload(); };
}

void Form2::Form_Initialize() { InitCommonControls(); }

void Form2::Form_Load() {
  Caption(L"创建");
  Frame1.Caption(L"文件位置(文件路径)：单击后面按钮选择");
  Frame2.Caption(L"加密盘大小，单位(M)");
  Frame3.Caption(L"密码：");
  Label1.Caption(L"输入密码：");
  Label2.Caption(L"确认密码：");
  Command2.Caption(L"创建");
  Command3.Caption(L"取消");
  Text2.Text(L"10");
  Image1.Picture(DeskIcon(Glyph::Create, 32));
  Move((forms::Screen::Width() - Width()) / 3, (forms::Screen::Height() - Height()) / 3);
}

void Form2::Form_QueryUnload(bool& cancel, forms::UnloadMode) {
  if (main_.Making) cancel = true;
}

void Form2::Command1_Click() {
  forms::FileDialog dialog;
  dialog.DialogTitle = kChoosePath;
  dialog.hWndOwner = hWnd();
  dialog.Filter = L"CVD files (*.cvd)|*.cvd|All files (*.*)|*.*";
  dialog.FileName = L"Sorvane.cvd";
  const forms::FileDialog::Result result = dialog.ShowSave();
  if (result == forms::FileDialog::Cancelled) return;
  if (result == forms::FileDialog::Failed) {
    forms::MsgBox(L"错误 CommDlgExtendedError " + std::to_wstring(dialog.Error()), MB_OK);
    return;
  }
  const std::wstring name = CutAtNul(dialog.FileName);
  const bool cvd = name.size() >= 4 && name.compare(name.size() - 4, 4, L".cvd") == 0;
  Text1.Text(dialog.FilterIndex == 1 && !cvd ? name + L".cvd" : name);
}

void Form2::Text2_KeyPress(int& key) {
  if ((key >= '0' && key <= '9') || key == 8) return;
  forms::MsgBox(kIllegalChar, MB_OK | MB_ICONINFORMATION, kNotice);
  key = 0;
}

void Form2::Spin(int step) {
  int64_t value = 0;
  if (!SizeValue(Text2.Text(), value)) value = 0;
  if (value > -kSizeLimit && value < kSizeLimit) value += step;
  Text2.Text(std::to_wstring(value));
}

std::wstring Form2::ShowFileSystemType(const std::wstring& drive) {
  return DriveQuery(drive).FileSystem;
}

bool Form2::CheckInputs(std::wstring& path, int32_t& mib, std::wstring& password) {
  const std::wstring typed = Text1.Text();
  if (typed.empty()) return Refuse(kChoosePath);
  path = FullDrivePath(typed);
  if (path.empty())
    return Refuse(
        L"加密盘文件要放在本机的磁盘上，请选择以盘符开头的文件路径，例如 D:\\Sorvane.cvd。");
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
    return Refuse(L"你选择的是一个文件夹，请在文件夹后面加上加密盘文件的文件名。");
  if (!making::SurvivesAnsi(path)) return Refuse(kPathNotAnsi);
  if (!MountCommandCarries(path)) return Refuse(kPathTooLong);
  if (forms::FileExists(path)) return Refuse(kExists);

  password = Text3.Text();
  if (password.empty()) return Refuse(L"请输入密码");
  if (Text4.Text().empty()) return Refuse(L"请输入确认密码");
  if (password.size() < 8) return Refuse(L"密码长度不能小于8位，请重新输入。");
  if (IsSpaceChar(password)) return Refuse(L"密码中不能含有空格，请重新输入。");
  if (!making::SurvivesAnsi(password)) return Refuse(making::kPasswordNotAnsi);
  if (password != Text4.Text()) return Refuse(L"2次输入的密码不同，请重新输入。");

  int64_t size = 0;
  if (!SizeValue(Text2.Text(), size)) return Refuse(kIllegalChar);
  if (size < 10) return Refuse(L"文件大小不能小于10M");
  const forms::Drive drive = DriveQuery(path.substr(0, 2));
  if (!drive.IsReady) return Refuse(L"不能读取磁盘的剩余空间，请检查磁盘后重新尝试一遍。");
  // Bytes, not rounded MiB: a file exactly as large as the free space still fits.
  if (size > INT32_MAX || uint64_t(size) * kMiB > drive.FreeSpace)
    return Refuse(L"文件大小不能大于磁盘的剩余空间");
  const std::wstring fs = drive.FileSystem;
  if ((fs == L"FAT32" || fs == L"FAT") && size > 4000)
    return Refuse(L"在FAT32或FAT磁盘分区格式下单个文件大小不能超过4G。", MB_ICONINFORMATION);
  if (fs != L"FAT32" && fs != L"FAT" && fs != L"NTFS")
    return Refuse(L"Velkiro不支持当前的磁盘格式", MB_ICONERROR);
  mib = int32_t(size);
  return true;
}

void Form2::Busy(bool on) {
  main_.Making = on;
  for (forms::CommandButton* b : {&Command1, &Command2, &Command3}) b->Enabled(!on);
}

void Form2::CreateContainer() {
  std::wstring path, password;
  // The password is read once: the file is made with the message loop running, and what is
  // wrapped must be the text that was checked.
  WipeOnExit wipePassword{password};
  int32_t mib = 0;
  if (main_.Making || !CheckInputs(path, mib, password)) return;
  // Asked before the file is made: a list that cannot take the entry leaves no file behind.
  if (ContainerList::InProgramFolder().CanAppend() != ListResult::Done) return;
  Busy(true);
  const bool made = MakeFile(path, mib, ShowFileSystemType(path.substr(0, 2)));
  const bool done = made && WriteHeaderAndKeys(path, password) && ListContainer(path);
  Busy(false);
  if (!made && !main_.IsLoaded()) return;  // the program is ending
  if (!done) return;
  const bool yes = forms::MsgBox(L"单击Y会加载刚刚创建的文件，单击N返回主窗口，需要的时候再加载。",
                                 MB_YESNO | MB_ICONQUESTION,
                                 L"恭喜，加密盘创建成功！要加载刚刚创建的文件吗？") == IDYES;
  if (yes && main_.SetCurrentContainer(path)) {
    main_.EnableListButtons();
    main_.MarkCurrentContainer();
  } else {
    main_.EnableListButtons();
  }
  Unload();
}

bool Form2::MakeFile(const std::wstring& path, int32_t mib, const std::wstring& fileSystem) {
  using making::FileResult;
  const FileResult r = fileSystem == L"NTFS"
                           ? making::MakeSparseFile(making::SparseProgram(), path, mib, progress)
                           : making::WriteZeroFile(path, mib, progress);
  switch (r) {
    case FileResult::Made:
      return true;
    case FileResult::Exists:
      Refuse(kExists);
      break;
    case FileResult::CannotCreate:
      Fail(L"不能创建加密盘文件，请更改文件名或者更改文件夹后重新创建加密盘。");
      break;
    case FileResult::WriteFailed:
      // The partial file is gone; the program ends through its normal unload, so the
      // current container is guarded again.
      forms::MsgBox(L"WriteFile error", MB_OK | MB_ICONERROR, L"System error");
      main_.Making = false;
      main_.Unload();
      break;
    case FileResult::SparseMissing:
      Fail(L"没有找到创建加密盘文件的程序 SorvSparse.exe，请重新安装Velkiro。");
      break;
    case FileResult::SparseFailed:
      Fail(L"创建加密盘文件失败，请重新创建加密盘。");
      break;
  }
  return false;
}

bool Form2::WriteHeaderAndKeys(const std::wstring& path, const std::wstring& password) {
  if (!making::InitHeader(path)) {
    Fail(L"初始化加密盘文件失败，请重新创建加密盘。");
    return false;
  }
  const std::string wrapped = making::NewWrappedKey(password);
  if (wrapped.empty() || !making::WriteDataBlock(path, 2, wrapped)) {
    Fail(kBlock2Failed);
    return false;
  }
  Sorvane1.SetPassword(password);
  if (!making::WriteDataBlock(path, 1, forms::ToAnsi(Sorvane1.Verifier()))) {
    Fail(L"对加密盘文件写密码失败，请重新创建加密盘。");
    return false;
  }
  return true;
}

bool Form2::ListContainer(const std::wstring& path) {
  if (main_.AppendToList(path)) {
    main_.AddRow(path, std::to_wstring(GetFileSize(path)) + L"M");
    return true;
  }
  DropUnlistedContainer(path);
  return false;
}

}  // namespace desk
