#include "Form3.h"

#include <commctrl.h>

#include "ContainerList.h"
#include "ContainerMaking.h"
#include "CutAtNul.h"
#include "DriveSource.h"
#include "ListMessages.h"
#include "NewDrive.h"
#include "Reg.h"
#include "SizeRules.h"
#include "Wizard.h"

namespace wizard {
namespace {

void Fail(const wchar_t* text) { forms::MsgBox(text, MB_OK | MB_ICONERROR, L"错误"); }

// The file's progress in this window's label and bar.
class FormProgress : public making::Progress {
 public:
  FormProgress(forms::Label& label, forms::ProgressBar& bar, forms::Form& form)
      : label_(label), bar_(bar), form_(form) {}
  void Percent(int percent) override {
    label_.Caption(std::to_wstring(percent) + L"%");
    bar_.Value(percent);
    form_.Refresh();
  }

 private:
  forms::Label& label_;
  forms::ProgressBar& bar_;
  forms::Form& form_;
};

}  // namespace

Form3::Form3(Wizard& wizard) : wizard_(wizard) {
  ClientSize(7800, 2400);
  Border(forms::BorderStyle::FixedSingle);
}

void Form3::Design() {
  Label1.Create(*this, nullptr, L"", 240, 240, 7320, 300);
  ProgressBar1.Create(*this, nullptr, 240, 900, 6300, 360);
  ProgressBar1.Min(0);
  ProgressBar1.Max(100);
  Label2.Create(*this, nullptr, L"", 6720, 960, 840, 255);
}

void Form3::Form_Initialize() { InitCommonControls(); }

void Form3::Form_Load() {
  running_ = true;
  const bool created = CreateContainer();
  running_ = false;
  if (!created) {
    wizard_.End();
    return;
  }
  Hide();
  wizard_.form4.Show();
}

// Closing the window would leave the container half made, or a drive mounted.
void Form3::Form_QueryUnload(bool& cancel, forms::UnloadMode mode) {
  if (running_ && mode != forms::UnloadMode::Code) cancel = true;
}

bool Form3::CreateContainer() {
  Show();
  Centre();
  Caption(L"创建加密盘向导(4-3)");
  Label1.Caption(L"创建加密盘>>>>>>>>>>>>>>>>>>>>>>>");

  // Path as read back: a write of step 1 that failed must not make us overwrite the container
  // that Path named before.
  const std::wstring path = CutAtNul(GetSetting(L"Path"));
  if (path.empty() || path != wizard_.form1.ContainerPath || forms::FileExists(path)) {
    Fail(L"加密盘的路径没有保存成功，请稍后重新创建加密盘。");
    return false;
  }
  const int32_t mib = int32_t(SizeNumber(wizard_.form1.Text1.Text()));
  const std::wstring password = wizard_.form2.Text1.Text();
  const std::wstring fs = ShowFileSystemType(path.substr(0, 2));

  FormProgress progress(Label2, ProgressBar1, *this);
  making::FileResult made = making::FileResult::CannotCreate;
  if (fs == L"FAT" || fs == L"FAT32")
    made = making::WriteZeroFile(path, mib, progress);
  else if (fs == L"NTFS")
    made = making::MakeSparseFile(making::SparseProgram(), path, mib, progress);
  if (made == making::FileResult::WriteFailed) {
    forms::MsgBox(L"WriteFile error", MB_OK | MB_ICONERROR, L"System error");
    return false;
  }
  // Never report success with a container that is missing or short.
  if (made != making::FileResult::Made || !making::InitHeader(path)) {
    Fail(L"初始化加密盘文件失败！请稍后重新创建加密盘。");
    return false;
  }

  Sorvane1.SetPassword(password);
  const std::string verifier = forms::ToAnsi(CutAtNul(Sorvane1.Verifier()));
  const making::DiskKeys keys = making::NewDiskKeys(password);
  if (!making::WriteDataBlock(path, 1, verifier)) {
    Fail(L"对加密盘文件写密码失败，请稍后重新创建加密盘。");
    return false;
  }
  if (keys.wrapped.empty() || !making::WriteDataBlock(path, 2, keys.wrapped)) {
    Fail(L"对加密盘文件写密文失败，请稍后重新创建加密盘。");
    return false;
  }

  // Listed only when the entry reads back: a refused append (told) holds it as little as a
  // write that did not land.
  ContainerList list = ContainerList::InProgramFolder();
  list.AppendUnlisted(path);
  if (!list.Holds(path)) {
    DropUnlistedContainer(path);
    return false;
  }
  MountFormatUnmount(hWnd(), path, keys.diskKey);
  return true;
}

}  // namespace wizard
