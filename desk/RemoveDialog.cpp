#include "RemoveDialog.h"

#include <commctrl.h>

#include "ContainerList.h"
#include "FileSize.h"
#include "DeskIcons.h"
#include "KeyBlocks.h"
#include "ShellFiles.h"

namespace desk {
namespace {

constexpr wchar_t kNotice[] = L"注意";
constexpr wchar_t kInUse[] = L"文件处于使用或者保护状态，请确认后再试一遍。";
constexpr wchar_t kUnreadable[] =
    L"不能读取密码，可能的情况是：加密盘文件被占用、被保护或者被破坏。请确认后重试一次。";

}  // namespace

Form3::Form3(forms::ListView& rows, std::function<void()> rowRemoved)
    : rows_(rows), rowRemoved_(std::move(rowRemoved)) {
  ClientSize(6120, 4200);
  Border(forms::BorderStyle::FixedDialog);
  ShowInTaskbar(false);
}

void Form3::Design() {
  Image1.Create(*this, nullptr, 120, 120, 480, 480);
  Frame1.Create(*this, nullptr, L"", 720, 60, 5280, 1800);
  Label1.Create(*this, &Frame1, L"", 180, 360, 1200, 255);
  Text1.Create(*this, &Frame1, L"", 1440, 320, 2280, 300);
  Text1.PasswordChar(L'*');
  Command1.Create(*this, &Frame1, L"", 3960, 300, 1080, 360);
  Command1.Click = [this] { RemoveContainer(); };
  Label4.Create(*this, &Frame1, L"", 180, 840, 600, 255);
  Label3.Create(*this, &Frame1, L"", 780, 840, 4320, 720);
  Frame2.Create(*this, nullptr, L"", 720, 1980, 5280, 1080);
  Label2.Create(*this, &Frame2, L"", 180, 480, 1200, 255);
  Text2.Create(*this, &Frame2, L"", 1440, 440, 2280, 300);
  Text2.PasswordChar(L'*');
  Command3.Create(*this, &Frame2, L"", 3960, 420, 1080, 360);
  Command3.Default(true);
  Command3.Click = [this] { RemoveContainerRecord(); };
  Command2.Create(*this, nullptr, L"", 4680, 3300, 1200, 375);
  Command2.Cancel(true);
  Command2.Click = [this] { Unload(); };
}

void Form3::Form_Initialize() { InitCommonControls(); }

void Form3::Form_Load() {
  Caption(L"删除");
  Image1.Picture(DeskIcon(Glyph::Delete, 32));
  Frame1.Caption(L"从列表里删除记录，同时删除加密盘文件。");
  Label1.Caption(L"请输入密码：");
  Label4.Caption(L"注意:");
  Label3.Caption(L"Velkiro提醒您注意备份，删除加密盘后资料将不能找回。");
  Command1.Caption(L"删除");
  Frame2.Caption(L"仅从列表中删除记录，加密盘文件不删除。");
  Label2.Caption(L"请输入密码：");
  Command3.Caption(L"删除");
  Command2.Caption(L"取消");
  Centre();
}

bool Form3::AskDropMissing(UINT defaultButton) {
  return forms::MsgBox(
             L"您要删除的文件已经不存在了，从列表中删除吗？ 单击Y从列表中删除，单击N返回。",
             MB_YESNO | MB_ICONQUESTION | defaultButton, kNotice) == IDYES;
}

bool Form3::Held() {
  if (!FileIsHeld(selected_.path)) return false;
  forms::MsgBox(kInUse, MB_OK | MB_ICONINFORMATION, kNotice);
  return true;
}

bool Form3::Damaged() {
  std::string stored;
  return !FileIsHeld(selected_.path) &&
         (!IsWholeContainerLength(FileBytes(selected_.path)) || !HeaderIsValid(selected_.path) ||
          !ReadBlock(selected_.path, kVerifierBlock, stored));
}

bool Form3::AskDropDamaged(UINT defaultButton) {
  return forms::MsgBox(
             L"加密盘文件已经损坏或者不能读取，无法验证密码。从列表中删除这条记录吗？加密盘文件不会"
             L"被删除。 单击Y从列表中删除，单击N返回。",
             MB_YESNO | MB_ICONQUESTION | defaultButton, kNotice) == IDYES;
}

bool Form3::PasswordMatches(const std::string& typed, UINT unreadableIcon,
                            const wchar_t* unreadableTitle) {
  std::string stored;
  if (!ReadBlock(selected_.path, kVerifierBlock, stored)) {
    forms::MsgBox(kUnreadable, MB_OK | unreadableIcon, unreadableTitle);
    return false;
  }
  if (stored != typed) {
    forms::MsgBox(L"密码错误，不能删除文件！", MB_OK | MB_ICONERROR, kNotice);
    return false;
  }
  return true;
}

void Form3::DropRow(bool missingFile) {
  // By the row's path: the list file may have changed since the window read it.
  ContainerList list = ContainerList::InProgramFolder();
  ListResult result =
      missingFile ? list.RemovePath(selected_.path) : list.RemoveAt(selected_.row, selected_.path);
  if (result == ListResult::Damaged) return;  // the user was told; the row stays as the file has it
  rows_.Remove(selected_.row);
  if (!missingFile) forms::MsgBox(L"删除成功", MB_OK | MB_ICONINFORMATION, L"Velkiro");
  if (rowRemoved_) rowRemoved_();
  Unload();
}

void Form3::RemoveContainer() {
  if (!GetSelected(rows_, selected_)) return;
  const std::wstring password = Text1.Text();
  if (password.empty()) {
    forms::MsgBox(L"请输入密码", MB_OK | MB_ICONINFORMATION, kNotice);
    return;
  }
  const std::string typed = VerifierOf(Sorvane1, password);
  if (!forms::FileExists(selected_.path)) {
    if (AskDropMissing(MB_DEFBUTTON1)) DropRow(true);
    return;
  }
  if (Held()) return;
  // A damaged file is only ever taken off the list: its password cannot be checked.
  if (Damaged()) {
    if (AskDropDamaged(MB_DEFBUTTON1)) DropRow(true);
    return;
  }
  if (!PasswordMatches(typed, MB_ICONERROR, L"错误")) return;
  if (forms::MsgBox(L"你要删除的加密盘文件确实是 " + selected_.path + L" 吗？",
                    MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1, L"确认删除文件") != IDYES)
    return;
  switch (DeleteFileExactly(hWnd(), selected_.path)) {
    case ShellResult::Failed:
      forms::MsgBox(L"文件没有删除，有可能是文件被占用，请重新尝试一遍。",
                    MB_OK | MB_ICONINFORMATION, L"提醒");
      return;
    case ShellResult::Aborted:
      forms::MsgBox(L"用户取消", MB_OK | MB_ICONINFORMATION, L"提醒");
      return;
    case ShellResult::Done:
      DropRow(false);
  }
}

void Form3::RemoveContainerRecord() {
  if (!GetSelected(rows_, selected_)) return;
  const std::wstring password = Text2.Text();
  const std::string typed = VerifierOf(Sorvane1, password);
  if (!forms::FileExists(selected_.path)) {
    if (AskDropMissing(MB_DEFBUTTON2)) DropRow(true);
    return;
  }
  if (Damaged()) {
    if (AskDropDamaged(MB_DEFBUTTON2)) DropRow(true);
    return;
  }
  if (password.empty()) {
    forms::MsgBox(L"请输入密码", MB_OK | MB_ICONINFORMATION, kNotice);
    return;
  }
  if (!Held() && PasswordMatches(typed, MB_ICONINFORMATION, kNotice)) DropRow(false);
}

}  // namespace desk
