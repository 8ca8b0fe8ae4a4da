#include "Form3.h"

#include <commctrl.h>

#include "ContainerList.h"
#include "ContainerMaking.h"
#include "CutAtNul.h"
#include "DriveSource.h"
#include "ListMessages.h"
#include "NewDrive.h"
#include "OldContainer.h"
#include "Reg.h"
#include "SizeRules.h"
#include "Wipe.h"
#include "Wizard.h"

namespace wizard {
namespace {

void Fail(const wchar_t* text) { forms::MsgBox(text, MB_OK | MB_ICONERROR, L"错误"); }

const wchar_t kNotAgreed[] =
    L"加密盘文件的位置上有一个没有确认覆盖的文件，没有覆盖它，请重新运行向导。";

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

  const std::wstring path = wizard_.form1.ContainerPath;
  const FileIdentity& agreed = wizard_.form1.Overwrite;
  if (path.empty() || (!agreed.known && forms::FileExists(path))) {
    Fail(kNotAgreed);
    return false;
  }
  // The new container is made beside its place and takes it only once whole: a failed making
  // leaves nothing half made, and an agreed overwrite's old container goes only then, and only
  // when it is still the file whose password was given.
  const std::wstring target = path + kMakingSuffix;
  // Read once: the hidden step 2 keeps no copy while the container is made.
  std::wstring password = wizard_.form2.Text1.Text();
  WipeOnExit wipePassword{password};
  for (forms::TextBox* box : {&wizard_.form2.Text1, &wizard_.form2.Text2}) WipeBox(box->hWnd());
  making::DiskKeys keys;
  WipeOnExit wipeKey{keys.diskKey};
  if (!MakeContainer(target, password, keys)) {
    RemoveFile(target);  // an old container stays as it was
    return false;
  }
  const Replacement put = ReplaceIfSame(path, target, agreed);
  if (put != Replacement::Done) {
    Fail(put == Replacement::Other ? kNotAgreed : kCannotOverwrite);
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
  // Current only now that it exists: a wizard that ends earlier leaves Path as it was.
  if (!SetSetting(L"Path", path))
    forms::MsgBox(L"加密盘已经创建，但是不能把它设为当前加密盘，请在管理程序里加载它。",
                  MB_OK | MB_ICONEXCLAMATION, L"注意");
  MountFormatUnmount(hWnd(), path, keys.diskKey);
  return true;
}

bool Form3::MakeContainer(const std::wstring& path, const std::wstring& password,
                          making::DiskKeys& keys) {
  const int32_t mib = int32_t(SizeNumber(wizard_.form1.Text1.Text()));
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
  keys = making::NewDiskKeys(password);
  if (!making::WriteDataBlock(path, 1, verifier)) {
    Fail(L"对加密盘文件写密码失败，请稍后重新创建加密盘。");
    return false;
  }
  if (keys.wrapped.empty() || !making::WriteDataBlock(path, 2, keys.wrapped)) {
    Fail(L"对加密盘文件写密文失败，请稍后重新创建加密盘。");
    return false;
  }
  return true;
}

}  // namespace wizard
