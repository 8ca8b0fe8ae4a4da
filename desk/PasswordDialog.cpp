#include "PasswordDialog.h"

#include <commctrl.h>

#include "ContainerMaking.h"
#include "DiskKey.h"
#include "DeskIcons.h"
#include "KeyBlocks.h"
#include "Wipe.h"

namespace desk {
namespace {

constexpr wchar_t kUnreadable[] =
    L"不能读取密码，可能的情况是：加密盘文件被占用、被保护或者被破坏。请确认后重试一次。";
constexpr wchar_t kUnwritable[] =
    L"不能存储密码，可能的情况是：加密盘文件被占用、被保护或者被破坏，请确认后重试一次。";

// Shows a refusal; the handler then ends with the dialog open.
void Refuse(const wchar_t* text, UINT icon, const wchar_t* title) {
  forms::MsgBox(text, MB_OK | icon, title);
}

}  // namespace

Form8::Form8(const forms::ListView& rows) : rows_(rows) {
  ClientSize(5640, 2760);
  Border(forms::BorderStyle::FixedDialog);
  ShowInTaskbar(false);
}

void Form8::Design() {
  Image1.Create(*this, nullptr, 120, 120, 480, 480);
  Frame1.Create(*this, nullptr, L"", 720, 60, 4800, 1980);
  Label1.Create(*this, &Frame1, L"", 240, 420, 1320, 255);
  Text1.Create(*this, &Frame1, L"", 1620, 380, 2940, 300);
  Text1.PasswordChar(L'*');
  Label2.Create(*this, &Frame1, L"", 240, 900, 1320, 255);
  Text2.Create(*this, &Frame1, L"", 1620, 860, 2940, 300);
  Text2.PasswordChar(L'*');
  Label3.Create(*this, &Frame1, L"", 240, 1380, 1320, 255);
  Text3.Create(*this, &Frame1, L"", 1620, 1340, 2940, 300);
  Text3.PasswordChar(L'*');
  Command1.Create(*this, nullptr, L"", 2880, 2220, 1200, 375);
  Command1.Default(true);
  Command1.Click = [this] { ChangePassword(); };
  Command2.Create(*this, nullptr, L"", 4320, 2220, 1200, 375);
  Command2.Cancel(true);
  Command2.Click = [this] { Unload(); };
  Label4.Create(*this, nullptr, L"Temp", 0, 0, 0, 0);
  Label4.Visible(false);
}

void Form8::Form_Initialize() { InitCommonControls(); }

// However the dialog ends, the passwords leave no copy in the boxes' memory.
void Form8::Form_Unload(bool&) {
  for (forms::TextBox* box : {&Text1, &Text2, &Text3}) WipeBox(box->hWnd());
}

void Form8::Form_Load() {
  Caption(L"修改密码");
  Image1.Picture(DeskIcon(Glyph::Password, 32));
  Frame1.Caption(L"修改密码");
  Label1.Caption(L"输入旧密码：");
  Label2.Caption(L"输入新密码：");
  Label3.Caption(L"确认新密码：");
  Command1.Caption(L"修改");
  Command2.Caption(L"取消");
  Centre();
}

void Form8::ChangePassword() {
  SelectedContainer selected;
  if (!GetSelected(rows_, selected)) return;
  const std::wstring& path = selected.path;
  if (!forms::FileExists(path))
    return Refuse(L"您选择的加密盘cvd文件丢失，请确认后再试！", MB_ICONERROR, L"错误");
  if (!HeaderIsValid(path))
    return Refuse(L"加密盘文件可能被破坏或者正被使用。如果正在使用请先卸载再尝试修改密码。",
                  MB_ICONERROR, L"注意");
  std::string stored;
  if (!ReadBlock(path, kVerifierBlock, stored))
    return Refuse(kUnreadable, MB_ICONINFORMATION, L"注意");
  std::wstring oldPassword = Text1.Text(), newPassword = Text2.Text(), confirm = Text3.Text();
  WipeOnExit wipeOld{oldPassword}, wipeNew{newPassword}, wipeConfirm{confirm};
  const std::string oldVerifier = VerifierOf(Sorvane1, oldPassword);
  if (oldPassword.empty()) return Refuse(L"请输入旧密码！", MB_ICONERROR, L"错误");
  if (oldVerifier != stored)
    return Refuse(L"你输入的旧密码不对，请重新输入！", MB_ICONERROR, L"错误");
  if (newPassword.empty()) return Refuse(L"请输入新密码！", MB_ICONINFORMATION, L"提醒");
  if (confirm.empty()) return Refuse(L"请输入新密码的确认密码！", MB_ICONINFORMATION, L"提醒");
  if (newPassword.size() < 8)
    return Refuse(L"密码不能小于8位，请重新你输入。", MB_ICONINFORMATION, L"提醒");
  if (confirm != newPassword)
    return Refuse(L"你的新密码与确认密码不一样，请检查！", MB_ICONERROR, L"错误");
  if (!making::SurvivesAnsi(newPassword))
    return Refuse(making::kPasswordNotAnsi, MB_ICONINFORMATION, L"提醒");
  std::string oldWrapped;
  // A key that does not come out as 16 Base64 characters is a damaged block 2: wrapping it
  // anew would hide the damage under the new password.
  std::string key;
  WipeOnExit wipeKey{key};
  if (!ReadBlock(path, kWrappedKeyBlock, oldWrapped) ||
      !IsDiskKey(key = UnwrapKey(oldWrapped, oldPassword)))
    return Refuse(kUnreadable, MB_ICONINFORMATION, L"注意");
  if (!StoreBlocks(path, newPassword, stored, oldWrapped, key))
    return Refuse(kUnwritable, MB_ICONERROR, L"错误");
  forms::MsgBox(L"密码修改成功！", MB_OK | MB_ICONINFORMATION, L"修改密码");
  Unload();
}

bool Form8::StoreBlocks(const std::wstring& path, const std::wstring& newPassword,
                        const std::string& oldVerifier, const std::string& oldWrapped,
                        const std::string& key) {
  const std::string wrapped = WrapKey(key, newPassword);
  const std::string verifier = VerifierOf(Sorvane1, newPassword);
  if (wrapped.empty() || verifier.empty()) return false;
  // The write is judged by what reads back, whatever it said: a write can land and still
  // report failure (a failed flush), or report success and not land.
  const bool written = WriteKeyBlocks(path, verifier, wrapped);
  std::string readWrapped;
  if (written && BlockHolds(path, kVerifierBlock, verifier) &&
      ReadBlock(path, kWrappedKeyBlock, readWrapped) && UnwrapKey(readWrapped, newPassword) == key)
    return true;
  // Block 1 must never name a password that block 2 does not open with: the old pair goes
  // back, whatever failed.
  WriteKeyBlocks(path, oldVerifier, oldWrapped);
  if (!BlockHolds(path, kWrappedKeyBlock, oldWrapped) ||
      !BlockHolds(path, kVerifierBlock, oldVerifier))
    forms::MsgBox(L"不能恢复原来的密码，加密盘文件可能已被破坏。请用备份的加密盘文件恢复数据。",
                  MB_OK | MB_ICONERROR, L"错误");
  return false;
}

}  // namespace desk
