#include "BackupDialog.h"

#include <commctrl.h>

#include "ContainerList.h"
#include "ContainerMaking.h"
#include "CutAtNul.h"
#include "FileSize.h"
#include "DeskIcons.h"
#include "KeyBlocks.h"
#include "Reg.h"
#include "ShellFiles.h"
#include "SplitPath.h"

namespace desk {
namespace {

constexpr wchar_t kNotice[] = L"注意";

void Refuse(const std::wstring& text, UINT icon, const wchar_t* title) {
  forms::MsgBox(text, MB_OK | icon, title);
}

// Free bytes on the drive named by the target's first two characters; -1 when they name no
// ready drive (a share or a relative path), which is refused like a full drive.
int64_t DriveFreeBytes(const std::wstring& target) {
  forms::Drive drive = forms::GetDrive(target.substr(0, 2));
  if (drive.DriveLetter == 0 || !drive.IsReady) return -1;
  return int64_t(drive.FreeSpace);
}

// After a move of the current container, Path names its new place, so that the tray program
// does not start on a file that is gone; a place the libraries cannot be given (or a target
// that is not there after all) leaves no current container rather than a wrong one.
void FollowMovedContainer(const std::wstring& source, const std::wstring& target) {
  const std::wstring current = CutAtNul(GetSetting(L"Path"));
  if (CompareStringOrdinal(current.c_str(), -1, source.c_str(), -1, TRUE) != CSTR_EQUAL) return;
  wchar_t full[MAX_PATH * 2] = {};
  const DWORD n = GetFullPathNameW(target.c_str(), MAX_PATH * 2, full, nullptr);
  const std::wstring moved = n > 0 && n < MAX_PATH * 2 ? std::wstring(full, n) : std::wstring();
  SetSetting(L"Path", !moved.empty() && making::SurvivesAnsi(moved) && forms::FileExists(moved)
                          ? moved
                          : std::wstring());
}

}  // namespace

BackupForm::BackupForm(forms::ListView& rows, std::function<void()> rowRemoved)
    : rows_(rows), rowRemoved_(std::move(rowRemoved)) {
  ClientSize(6360, 2640);
  Border(forms::BorderStyle::FixedDialog);
  ShowInTaskbar(false);
}

void BackupForm::Design() {
  Frame1.Create(*this, nullptr, L"", 120, 60, 6120, 1920);
  Image1.Create(*this, &Frame1, 180, 300, 480, 480);
  Label1.Create(*this, &Frame1, L"", 840, 380, 1080, 255);
  Text1.Create(*this, &Frame1, L"", 1980, 340, 3360, 300);
  Command3.Create(*this, &Frame1, L"", 5400, 330, 480, 320);
  Command3.Click = [this] { Browse(); };
  Label2.Create(*this, &Frame1, L"", 840, 860, 1080, 255);
  Text2.Create(*this, &Frame1, L"", 1980, 820, 3360, 300);
  Text2.PasswordChar(L'*');
  Check1.Create(*this, &Frame1, L"", 1980, 1320, 3360, 300);
  Command1.Create(*this, nullptr, L"", 3600, 2130, 1200, 375);
  Command1.Default(true);
  Command1.Click = [this] { BackupContainer(); };
  Command2.Create(*this, nullptr, L"", 5040, 2130, 1200, 375);
  Command2.Cancel(true);
  Command2.Click = [this] { Unload(); };
}

void BackupForm::Form_Initialize() { InitCommonControls(); }

void BackupForm::Form_Load() {
  Move((forms::Screen::Width() - Width()) / 3, (forms::Screen::Height() - Height()) / 3);
  Caption(L"备份");
  Image1.Picture(DeskIcon(Glyph::Backup, 32));
  Label1.Caption(L"目标文件");
  Label2.Caption(L"加密盘密码");
  Check1.Caption(L"同时删除现在的加密盘");
  Command3.Caption(L"...");
  Command1.Caption(L"确定");
  Command2.Caption(L"取消");
}

void BackupForm::Browse() {
  SelectedContainer selected;
  forms::FileDialog dialog;
  dialog.DialogTitle = L"请选择放置加密盘文件的文件夹，并确定加密盘文件的文件名";
  dialog.hWndOwner = hWnd();
  dialog.Filter = L"All files (*.*)|*.*";
  if (GetSelected(rows_, selected)) dialog.FileName = rows_.SubItem(selected.row, 1);
  switch (dialog.ShowSave()) {
    case forms::FileDialog::Chosen:
      Text1.Text(CutAtNul(dialog.FileName));
      break;
    case forms::FileDialog::Cancelled:
      break;
    case forms::FileDialog::Failed:
      forms::MsgBox(L"错误 " + std::to_wstring(dialog.Error()), MB_OK);
  }
}

void BackupForm::BackupContainer() {
  SelectedContainer selected;
  if (!GetSelected(rows_, selected)) return;
  const std::wstring& source = selected.path;
  if (!forms::FileExists(source))
    return Refuse(L"您要备份的加密盘文件已经丢失或者不完全，无法备份。", MB_ICONERROR, kNotice);
  if (GetFileSize(source) == 0)
    return Refuse(L"文件处于使用或者保护状态，请确认后再试一遍。", MB_ICONINFORMATION, kNotice);
  const std::wstring password = Text2.Text();
  if (password.empty()) return Refuse(L"请输入要备份加密盘的密码", MB_ICONINFORMATION, L"提醒");
  const std::string typed = VerifierOf(Sorvane1, password);
  std::string stored;
  if (!ReadBlock(source, kVerifierBlock, stored))
    return Refuse(
        L"不能读取密码，可能的情况是：加密盘文件被占用、被保护或者被破坏。请确认后重试一次。",
        MB_ICONERROR, L"错误");
  if (stored != typed) return Refuse(L"您输入的密码有误，请重新输入", MB_ICONERROR, kNotice);
  const std::wstring target = Text1.Text();
  if (target.empty())
    return Refuse(L"目标文件为空，请先选择目标文件的路径。", MB_ICONINFORMATION, kNotice);
  // In bytes: a drive with exactly the file's size free takes it, one byte less does not.
  if (DriveFreeBytes(target) < FileBytes(source))
    return Refuse(L"你指定的目标空间不足，请更换目标磁盘。", MB_ICONINFORMATION, kNotice);
  // A folder of that name counts too: the shell would put the file inside it.
  if (GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES) {
    std::wstring drive, dir, file, base, ext;
    SplitPath(target, drive, dir, file, base, ext);
    return Refuse(L"你选择的文件夹里已经存在 " + file + L" ,请更换文件名或者更换文件夹",
                  MB_ICONERROR, kNotice);
  }
  const bool move = Check1.Value() == 1;
  switch (CopyOrMoveFile(hWnd(), source, target, move)) {
    case ShellResult::Failed:
      return Refuse(L"备份失败", MB_ICONINFORMATION, kNotice);
    case ShellResult::Aborted:
      return Refuse(L"用户取消", MB_ICONINFORMATION, kNotice);
    case ShellResult::Done:
      break;
  }
  forms::MsgBox(L"备份成功！", MB_OK | MB_ICONINFORMATION, L"恭喜");
  if (move) {
    FollowMovedContainer(source, target);
    ContainerList list = ContainerList::InProgramFolder();
    if (list.RemoveAt(selected.row, source) != ListResult::Damaged) {
      rows_.Remove(selected.row);
      if (rowRemoved_) rowRemoved_();
    }
  }
  Unload();
}

}  // namespace desk
