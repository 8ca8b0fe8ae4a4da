#include "Form1.h"

#include <windows.h>
#include <commctrl.h>

#include "ContainerList.h"
#include "CutAtNul.h"
#include "DriveSource.h"
#include "MountWord.h"
#include "SizeRules.h"
#include "SorvLibs.h"
#include "Wipe.h"
#include "Wizard.h"

namespace wizard {
namespace {

const wchar_t kUnsupported[] = L"本软件不支持在此类磁盘格式下创建加密盘，请选择其他磁盘。";
const wchar_t kTooBig[] = L"你定义的加密盘文件大小超出所选磁盘的剩余空间大小，请重新定义。";

bool IsFat(const std::wstring& fs) { return fs == L"FAT" || fs == L"FAT32"; }

// The wizard always puts its container in the drive's root under this name.
std::wstring ContainerPathOn(const forms::Drive& drive) { return drive.Path() + L"\\Sorvane.cvd"; }

int Ask(const std::wstring& text) {
  return forms::MsgBox(text, MB_YESNO | MB_ICONQUESTION, L"注意");
}

}  // namespace

Form1::Form1(Wizard& wizard) : wizard_(wizard) {
  ClientSize(7800, 6000);
  Border(forms::BorderStyle::FixedSingle);
}

void Form1::Design() {
  Label4.Create(*this, nullptr, L"", 240, 120, 7320, 600);
  Frame2.Create(*this, nullptr, L"", 120, 780, 7560, 2280);
  ListView1.Create(*this, &Frame2, 120, 300, 7320, 1560);
  ListView1.FullRowSelect(true);
  ListView1.ItemClick = [this](int) { ShowSelection(); };
  Label1.Create(*this, &Frame2, L"", 120, 1920, 7320, 255);
  Frame3.Create(*this, nullptr, L"", 120, 3180, 7560, 1980);
  Slider1.Create(*this, &Frame3, 120, 360, 6000, 480);
  Slider1.Scroll = [this] { ShowSelection(); };
  Label2.Create(*this, &Frame3, L"", 6240, 420, 1200, 255);
  Text1.Create(*this, &Frame3, L"", 120, 1020, 1500, 315);
  Text1.KeyPress = [this](int& key) { Text1_KeyPress(key); };
  Text1.Change = [this] { Text1_Change(); };
  Text1.GotFocus = [this] { Text1.SelectAll(); };
  SpinButton1.Create(*this, &Frame3, 1635, 1020, 255, 315);
  SpinButton1.SpinUp = [this] { Spin(+1); };
  SpinButton1.SpinDown = [this] { Spin(-1); };
  Label3.Create(*this, &Frame3, L"", 2040, 1050, 5400, 255);
  Label5.Create(*this, nullptr, L"Temp", 120, 5280, 600, 255);
  Label5.Visible(false);
  Command1.Create(*this, nullptr, L"", 240, 5400, 1150, 360);
  Command1.Click = [this] { Command1_Click(); };
  Command4.Create(*this, nullptr, L"", 1560, 5400, 1150, 360);
  Command4.Click = [this] { Command4_Click(); };
  Command2.Create(*this, nullptr, L"", 4920, 5400, 1150, 360);
  Command2.Click = [this] { Command2_Click(); };
  Command3.Create(*this, nullptr, L"", 6240, 5400, 1150, 360);
  Command3.Click = [this] { Unload(); };
}

void Form1::Form_Initialize() { InitCommonControls(); }

void Form1::Form_Load() {
  Centre();
  Caption(L"创建加密盘向导(4-1)");
  Label4.Caption(
      L"    "
      L"本向导会一步步引导您创建一个加密盘文件。如果您已熟悉本软件，或者需要加载以前创建的加密盘，"
      L"可以使用本软件的管理程序来完成。点击“高级”按钮打开管理程序。");
  Frame2.Caption(L"选择磁盘");
  Label1.Caption(L"请选择您要放置加密盘文件的磁盘(在上面的列表里单击即可)");
  Command1.Caption(L"高级");
  Command2.Caption(L"下一步");
  Command3.Caption(L"退出");
  Command4.Caption(L"帮助");

  Slider1.Min(0);
  Slider1.Max(100);
  Slider1.SmallChange(1);
  Slider1.LargeChange(5);
  Slider1.TickFrequency(10);
  Slider1.Value(20);

  const int width = ListView1.Width();
  const std::pair<const wchar_t*, int> columns[] = {
      {L"磁盘", 12}, {L"磁盘大小", 27}, {L"可用空间", 26}, {L"推荐", 13}, {L"磁盘格式", 16}};
  for (auto& [text, share] : columns) ListView1.AddColumn(text, width * share / 100);

  // What an earlier run cut short is settled before the drives' free space is read.
  for (const forms::Drive& d : ListDrives())
    if (IsListed(d)) SettleLeftovers(ContainerPathOn(d));
  rows_.clear();
  for (const forms::Drive& d : ListDrives()) {
    if (!IsListed(d)) continue;
    rows_.push_back(d);
    int row = ListView1.Add(d.Path());
    ListView1.SubItem(row, 1, SizeText(d.TotalSize));
    ListView1.SubItem(row, 2, SizeText(d.FreeSpace));
    ListView1.SubItem(row, 4, d.FileSystem);
  }
  const int pick = Recommend(rows_);
  if (pick < 0) return;  // nothing to recommend: the user picks a row
  ListView1.SubItem(pick + 1, 3, L"推荐");
  ListView1.Select(pick + 1);
  ShowSelection();
}

void Form1::Form_Paint() {
  if (Enabled()) ListView1.SetFocus();
}

const forms::Drive* Form1::Selected() const {
  int row = ListView1.SelectedItem();
  return row >= 1 && row <= int(rows_.size()) ? &rows_[row - 1] : nullptr;
}

std::int64_t Form1::sSelectItemFreeSpace() const {
  const forms::Drive* d = Selected();
  return d ? FreeMiB(*d) : 0;
}

std::wstring Form1::Frame3_Value() const {
  const forms::Drive* d = Selected();
  return (d ? d->Path() : L"") + L" 请在下面确定您要创建加密盘文件的大小，单位M";
}

void Form1::ShowSelection() {
  if (!Selected()) return;
  Frame3.Caption(Frame3_Value());
  Label2.Caption(GetCvdFileInfo());
}

std::wstring Form1::GetCvdFileInfo() {
  const forms::Drive* d = Selected();
  const std::wstring fs = d ? d->FileSystem : L"";
  const std::int64_t free = sSelectItemFreeSpace();
  const std::wstring size = std::to_wstring(SizeForSlider(free, Slider1.Value()));
  if (IsFat(fs)) {
    Label3.Caption(L"FAT32格式下只能创建10M-4G大小的加密盘");
    Text1.Text(size);
    if (SizeNumber(Text1.Text()) > 4000)
      Text1.Text(L"4000");
    else if (SizeNumber(Text1.Text()) < 10)
      Text1.Text(L"10");
  } else if (fs == L"NTFS") {
    Label3.Caption(L"拖动进度条或者直接在文本框中输入数值：");
    Text1.Text(size);
    if (SizeNumber(Text1.Text()) < 10)
      Text1.Text(L"10");
    else if (!FitsFreeSpace(SizeNumber(Text1.Text()), d->FreeSpace))
      forms::MsgBox(L"您定义的文件大小超过了剩余磁盘的大小，请重新输入。", MB_ICONEXCLAMATION,
                    L"注意");
  } else {
    forms::MsgBox(kUnsupported, MB_ICONERROR, L"错误");
    return L"";
  }
  return std::to_wstring(Slider1.Value()) + L"％";
}

void Form1::Text1_KeyPress(int& keyAscii) {
  if ((keyAscii >= '0' && keyAscii <= '9') || keyAscii == 8) return;
  keyAscii = 0;
  forms::MsgBox(L"非法字符，请输入一个数字。", MB_ICONERROR, L"注意");
}

void Form1::Text1_Change() {
  const std::wstring text = Text1.Text();
  // Typing is filtered; pasted text is not, so it is checked here.
  if (!IsAllDigits(text)) {
    forms::MsgBox(L"非法字符，请输入一个数字。", MB_ICONERROR, L"注意");
    Text1.Text(lastSize_);
    return;
  }
  if (SizeNumber(text) < 1) {
    Text1.Text(L"1");
    return;
  }
  lastSize_ = text;
  Slider1.Value(SliderForSize(SizeNumber(text), sSelectItemFreeSpace()));
  Label2.Caption(std::to_wstring(Slider1.Value()) + L"%");
}

void Form1::Spin(int step) { Text1.Text(std::to_wstring(SizeNumber(Text1.Text()) + step)); }

void Form1::Command2_Click() {
  const forms::Drive* d = Selected();
  if (!d) {
    forms::MsgBox(Label1.Caption(), MB_ICONINFORMATION, L"注意");
    return;
  }
  const std::wstring fs = d->FileSystem;
  if (!IsFat(fs) && fs != L"NTFS") {
    forms::MsgBox(kUnsupported, MB_ICONERROR, L"错误");
    return;
  }
  if (Text1.Text().empty()) {
    forms::MsgBox(L"请确定加密盘文件的大小", MB_ICONINFORMATION, L"注意");
    return;
  }
  std::int64_t size = SizeNumber(Text1.Text());
  if (!FitsFreeSpace(size, d->FreeSpace)) {
    forms::MsgBox(kTooBig, MB_ICONEXCLAMATION, L"注意");
    return;
  }
  std::int64_t corrected = size;
  if (size >= 10) {
    if (size > 4000 && IsFat(fs)) {
      if (Ask(L"在Fat32或Fat磁盘格式下单个文件的大小不能超过4G。您现在定义的加密盘文件已经大于4G"
              L"。单击Y将创建4G的加密盘文件，单击N返回重设。") != IDYES)
        return;
      corrected = 4000;
    }
  } else {
    if (Ask(L"加密盘文件不能小于10M。单击Y将创建10M的加密盘，单击N返回重设。") != IDYES) return;
    corrected = 10;
  }
  if (corrected != size) {
    Text1.Text(std::to_wstring(corrected));
    // The corrected size must fit as well as the typed one.
    if (!FitsFreeSpace(corrected, d->FreeSpace)) {
      forms::MsgBox(kTooBig, MB_ICONEXCLAMATION, L"注意");
      return;
    }
  }

  // Asked before any file is deleted or made: a list that cannot take the entry stops here.
  if (ContainerList::InProgramFolder().CanAppend() != ListResult::Done) return;
  const std::wstring path = ContainerPathOn(*d);
  if (!MountCommandCarries(path)) {
    forms::MsgBox(kPathTooLong, MB_ICONEXCLAMATION, L"注意");
    return;
  }
  Overwrite = {};
  if (forms::FileExists(path) && !OverwriteCheck(path)) return;
  ContainerPath = path;
  Hide();
  wizard_.form2.Show();
}

bool Form1::OverwriteCheck(const std::wstring& path) {
  if (Ask(L"文件已经存在，要覆盖吗？ 单击Y会覆盖存在的加密盘文件，单击N返回窗口。\r\n\r\n"
          L"提醒：覆盖文件将破坏原加密盘中所有数据，请小心操作。") != IDYES)
    return false;
  // Cleared every time: a dialog closed by its frame must not reuse an earlier password.
  MyText.clear();
  WipeOnExit wipeOld{MyText};
  wizard_.form6.ShowModal(*this);
  forms::DoEvents();
  // Held from the read to the comparison: the identity kept is that of the file checked.
  HeldFile held(path);
  std::string block(128, '\0');
  if (int16_t(sorvlib::CVD_ReadDataBlock(forms::ToAnsi(path).c_str(), 1, block.data())) < 0) {
    forms::MsgBox(L"不能验证密码，文件可能正在使用或者被破坏，请确认后再试一遍。",
                  MB_ICONINFORMATION, L"注意");
    return false;
  }
  if (MyText.empty()) {
    Refresh();
    return false;
  }
  Sorvane1.SetPassword(MyText);
  if (forms::ToAnsi(CutAtNul(Sorvane1.Verifier())) != CutAtNul(block)) {
    forms::MsgBox(L"密码错误，请重试！", MB_ICONEXCLAMATION, L"错误");
    return false;
  }
  Overwrite = held.Identity();
  if (!Overwrite.known) {
    forms::MsgBox(kCannotOverwrite, MB_ICONEXCLAMATION, L"注意");
    return false;
  }
  return true;
}

void Form1::Command1_Click() {
  forms::Shell(ProgramFile(L"SorvDesk.exe"), forms::WindowStyle::NormalFocus);
  Unload();
}

void Form1::Command4_Click() {
  forms::ShellOpen(L"open", forms::AppPath() + L"\\help.chm");
}

}  // namespace wizard
