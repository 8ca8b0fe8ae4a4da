// The main window's commands: create, import, select for mounting, the dialogs, tips, help.
#include <windows.h>

#include "ContainerList.h"
#include "ContainerMaking.h"
#include "CutAtNul.h"
#include "DialogHooks.h"
#include "FileSize.h"
#include "MainForm.h"
#include "MountWord.h"
#include "ProgramFile.h"
#include "Reg.h"
#include "SorvLibs.h"
#include "TipOfDay.h"

namespace desk {
namespace {
constexpr wchar_t kNotFound[] = L"没有找到加密盘文件，请确认文件还存在";
}  // namespace

void Form1::CreateCommand() { createDialog.Show(); }

// The commands that act on a row do nothing while no row is selected.
void Form1::RowCommand(void (*show)(Form1&)) {
  if (ListView1.SelectedItem() != 0) show(*this);
}

void Form1::BackupCommand(bool owned) {
  if (ListView1.SelectedItem() != 0) ShowBackupDialog(*this, owned);
}

void Form1::TipsCommand() {
  TipOfDay tip(TipOfDay::Placement::Desk, &ShowTipsOnce);
  tip.ShowModal(nullptr);
}

void Form1::HelpCommand() { forms::ShellOpen(L"open", forms::AppPath() + L"\\help.chm"); }

void Form1::ListView1_MouseUp(int button) {
  if (button == 2) PopupMenu(mnuPopupMenu);
}

void Form1::MountFile() {
  const int row = ListView1.SelectedItem();
  if (row == 0) return;
  const std::wstring path = RowPath(row);
  // The tray program would start on a file that is not there.
  if (!forms::FileExists(path)) {
    forms::MsgBox(kNotFound, MB_OK | MB_ICONERROR, L"错误");
    return;
  }
  if (!SetCurrentContainer(path)) return;
  MarkCurrentContainer();
  if (forms::MsgBox(L"要打开载入的磁盘吗？\r\n\r\n单击 Y 将打开“启动Velkiro”程序，单击 N 返回。",
                    MB_YESNO | MB_ICONQUESTION, L"加载成功") != IDYES)
    return;
  if (forms::Shell(ProgramFile(L"start.exe"), forms::WindowStyle::NormalFocus) == 0)
    forms::MsgBox(L"没有找到“启动Velkiro”程序（start.exe），请重新安装Velkiro。",
                  MB_OK | MB_ICONERROR, L"错误");
}

void Form1::ImportContainer() {
  forms::FileDialog dialog;
  dialog.DialogTitle = L"请选择要导入的文件：";
  dialog.hWndOwner = hWnd();
  dialog.Flags = 0x1800;
  dialog.Filter = L"CVD files (*.cvd)|*.cvd|All files (*.*)|*.*";
  const forms::FileDialog::Result result = dialog.ShowOpen();
  if (result == forms::FileDialog::Cancelled) return;
  if (result == forms::FileDialog::Failed) {
    forms::MsgBox(L"Error: CommDlgExtendedError " + std::to_wstring(dialog.Error()), MB_OK);
    return;
  }
  const std::wstring path = CutAtNul(dialog.FileName);
  if (!forms::FileExists(path)) {
    forms::MsgBox(kNotFound, MB_OK | MB_ICONERROR, L"错误");
    return;
  }
  if (!making::SurvivesAnsi(path)) {
    forms::MsgBox(kPathNotAnsi, MB_OK | MB_ICONEXCLAMATION, L"注意");
    return;
  }
  if (!MountCommandCarries(path)) {
    forms::MsgBox(kPathTooLong, MB_OK | MB_ICONEXCLAMATION, L"注意");
    return;
  }
  if (int16_t(sorvlib::CVD_VerifyHeader(forms::ToAnsi(path).c_str())) == -1) {
    forms::MsgBox(
        L"验证加密盘文件失败，你的加密盘文件可能处于被保护状态、被破坏或者不是当前版本的加密盘格"
        L"式，不能导入。请确认不是上述问题后再试一次。",
        MB_OK | MB_ICONINFORMATION, L"注意");
    return;
  }
  // A header alone, or a container cut short, would list and then mount as a smaller disk.
  if (!IsWholeContainerLength(FileBytes(path))) {
    forms::MsgBox(
        L"加密盘文件不完整（加密盘文件至少有10M，文件头后面是整数个512字节的扇区），可能已被截断"
        L"或者损坏，不能导入。",
        MB_OK | MB_ICONINFORMATION, L"注意");
    return;
  }
  for (int row = 1; row <= ListView1.Count(); ++row) {
    if (RowPath(row) == path) {
      forms::MsgBox(L"您要导入的文件已经存在于列表！", MB_OK | MB_ICONINFORMATION, L"注意");
      return;
    }
  }
  if (!AppendToList(path)) return;
  AddRow(path, std::to_wstring(GetFileSize(path)) + L"M");
  if (!CutAtNul(GetSetting(L"Path")).empty()) {
    if (forms::MsgBox(L"导入成功！\r\n要加载刚导入的文件吗？", MB_YESNO | MB_ICONINFORMATION,
                      L"Velkiro") == IDYES &&
        SetCurrentContainer(path))
      MarkCurrentContainer();
  } else if (SetCurrentContainer(path)) {
    MarkCurrentContainer();
  }
  EnableListButtons();
}

bool Form1::AppendToList(const std::wstring& path) {
  ContainerList list = ContainerList::InProgramFolder();
  if (list.Append(path) != ListResult::Done) return false;  // the refusal is shown
  if (list.Holds(path)) return true;
  forms::MsgBox(L"不能把加密盘文件写入列表文件 List.ini，请检查程序文件夹后重新尝试一遍。",
                MB_OK | MB_ICONERROR, L"错误");
  return false;
}

}  // namespace desk
