#include "MainForm.h"

#include <commctrl.h>

#include <utility>
#include <vector>

#include "ContainerList.h"
#include "ListMessages.h"
#include "CutAtNul.h"
#include "DeskIcons.h"
#include "DialogHooks.h"
#include "FileSize.h"
#include "Protection.h"
#include "PublicFunc.h"
#include "Reg.h"
#include "SplitPath.h"
#include "TipOfDay.h"

namespace desk {
namespace {

constexpr wchar_t kStatusReminder[] = L"Velkiro提醒您注意时常备份加密盘";
constexpr wchar_t kStatusSlogan[] = L"Velkiro，电脑里的保险箱";

constexpr int kButtonWidth = 900, kButtonHeight = 900, kButtonGap = 60, kBarHeight = 1140;

// True while the tray program or the wizard runs: each holds the "Sorvane" semaphore.
bool SorvaneSemaphoreHeld() {
  HANDLE h = OpenSemaphoreW(SYNCHRONIZE | SEMAPHORE_MODIFY_STATE, FALSE, L"Sorvane");
  if (!h) return false;
  const bool held = WaitForSingleObject(h, 0) != WAIT_OBJECT_0;
  if (!held) ReleaseSemaphore(h, 1, nullptr);
  CloseHandle(h);
  return held;
}

std::wstring SizeText(const std::wstring& path) {
  if (!forms::FileExists(path)) return L"没找到文件";
  const int32_t mib = GetFileSize(path);
  return mib == 0 ? L"正在使用" : std::to_wstring(mib) + L"M";
}

// What the form's design holds for each of the eight buttons: the values of a newly placed
// button that differ from the load defaults, and the ones the designer chose. The tooltip
// colours 0 are the system's.
sorvbutton::PropertyBag ButtonDesign(const wchar_t* name, HICON icon, const LOGFONTW& font) {
  sorvbutton::PropertyBag bag;
  bag.WriteAlways<std::int32_t>("Style", 0);
  bag.WriteAlways<std::wstring>("Caption", name);
  bag.WriteAlways<HICON>("Icon", icon);
  bag.WriteAlways<std::int32_t>("IconAlign", 3);
  bag.WriteAlways<std::int32_t>("IconSize", 24);
  bag.WriteAlways<std::int32_t>("CaptionAlign", 4);
  bag.WriteAlways<std::int32_t>("iNonThemeStyle", 0);
  bag.WriteAlways<std::wstring>("Tooltiptitle", L"");
  bag.WriteAlways<std::int32_t>("ToolTipIcon", 0);
  bag.WriteAlways<std::int32_t>("ToolTipType", 1);
  bag.WriteAlways<std::int32_t>("ttBackColor", 0);
  bag.WriteAlways<std::int32_t>("ttForeColor", 0);
  bag.WriteAlways<LOGFONTW>("Font", font);
  bag.WriteAlways<std::int32_t>("MaskColor", 0);
  return bag;
}

}  // namespace

Form1::Form1() {
  ClientSize(9600, 5400);
  Border(forms::BorderStyle::Sizable);
}

void Form1::Design() {
  Framebar.Create(*this, nullptr, L"", 0, 0, 9600, kBarHeight);
  sorvbutton::SorvButton* buttons[] = {&btnCreateFile, &btnDeleteFile,     &btnImport, &btnActivate,
                                       &btnOption,     &btnModifyPassword, &btnBackup, &btnAbout};
  const wchar_t* names[] = {L"btnCreateFile", L"btnDeleteFile",     L"btnImport", L"btnActivate",
                            L"btnOption",     L"btnModifyPassword", L"btnBackup", L"btnAbout"};
  const Glyph glyphs[] = {Glyph::Create, Glyph::Delete,   Glyph::Import, Glyph::Mount,
                          Glyph::Option, Glyph::Password, Glyph::Backup, Glyph::About};
  LOGFONTW font{};
  HDC screen = GetDC(nullptr);
  font.lfHeight = -MulDiv(825, GetDeviceCaps(screen, LOGPIXELSY), 7200);  // 8.25 pt
  ReleaseDC(nullptr, screen);
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  lstrcpyW(font.lfFaceName, L"Verdana");
  for (int i = 0; i < 8; ++i) {
    sorvbutton::SorvButton& b = *buttons[i];
    b.Create(*this, 120 + i * (kButtonWidth + kButtonGap), 150, kButtonWidth, kButtonHeight,
             &Framebar);
    // Loaded from its saved design as every control of a form is: that load is what hooks the
    // button for its hover look and its own balloon tip.
    b.ReadProperties(ButtonDesign(names[i], DeskIcon(glyphs[i], 24), font));
  }
  btnCreateFile.Click = [this] { CreateCommand(); };
  btnDeleteFile.Click = [this] { RowCommand(ShowRemoveDialog); };
  btnImport.Click = [this] { ImportContainer(); };
  btnActivate.Click = [this] { MountFile(); };
  btnOption.Click = [this] { ShowOptionsDialog(*this); };
  btnModifyPassword.Click = [this] { RowCommand(ShowChangePasswordDialog); };
  btnBackup.Click = [this] { BackupCommand(false); };
  btnAbout.Click = [this] { ShowAboutDialog(*this); };

  ImageList2.Create(16, 16);
  ImageList2.Add(DeskIcon(Glyph::Container, 16));
  ImageList2.Add(DeskIcon(Glyph::Current, 16));
  ImageList3.Create(16, 16);
  ImageList3.Add(DeskIcon(Glyph::Container, 16));
  ListView1.Create(*this, nullptr, 10, kBarHeight, 9440, 3600);
  ListView1.MouseUp = [this](int button, int, int, int) { ListView1_MouseUp(button); };
  StatusBar1.Create(*this);
  Timer1.Create(*this);
  Timer1.Enabled(false);
  Timer1.Tick = [this] { Timer1_Timer(); };
  DesignMenus();
}

void Form1::DesignMenus() {
  mnuFile.CreateTop(*this, L"");
  mnuCreate.Create(mnuFile, L"");
  mnuDelete.Create(mnuFile, L"");
  mnuFileBar1.CreateSeparator(mnuFile);
  mnuAdd.Create(mnuFile, L"");
  mnuMount.Create(mnuFile, L"");
  mnuFileBar2.CreateSeparator(mnuFile);
  mnuModifyPassword.Create(mnuFile, L"");
  mnuBackup.Create(mnuFile, L"");
  mnuFileBar3.CreateSeparator(mnuFile);
  mnuQuit.Create(mnuFile, L"");
  mnuOption.CreateTop(*this, L"");
  mnuHelp.CreateTop(*this, L"");
  mnuViewHelp.Create(mnuHelp, L"");
  mnuHelpBar1.CreateSeparator(mnuHelp);
  mnuTips.Create(mnuHelp, L"");
  mnuHelpBar2.CreateSeparator(mnuHelp);
  munAbout.Create(mnuHelp, L"");
  mnuPopupMenu.CreatePopup(*this, L"");
  mnupopupCreate.Create(mnuPopupMenu, L"");
  mnupopupDelete.Create(mnuPopupMenu, L"");
  mnuPopupBar1.CreateSeparator(mnuPopupMenu);
  mnupopupAddIn.Create(mnuPopupMenu, L"");
  mnupopupMount.Create(mnuPopupMenu, L"");
  mnuPopupBar2.CreateSeparator(mnuPopupMenu);
  mnupopupOption.Create(mnuPopupMenu, L"");
  popmnuModifyPassword.Create(mnuPopupMenu, L"");
  popmnuBackup.Create(mnuPopupMenu, L"");

  for (forms::Menu* m : {&mnuCreate, &mnupopupCreate}) m->Click = [this] { CreateCommand(); };
  for (forms::Menu* m : {&mnuDelete, &mnupopupDelete})
    m->Click = [this] { RowCommand(ShowRemoveDialog); };
  for (forms::Menu* m : {&mnuAdd, &mnupopupAddIn}) m->Click = [this] { ImportContainer(); };
  for (forms::Menu* m : {&mnuMount, &mnupopupMount}) m->Click = [this] { MountFile(); };
  for (forms::Menu* m : {&mnuOption, &mnupopupOption})
    m->Click = [this] { ShowOptionsDialog(*this); };
  for (forms::Menu* m : {&mnuModifyPassword, &popmnuModifyPassword})
    m->Click = [this] { RowCommand(ShowChangePasswordDialog); };
  for (forms::Menu* m : {&mnuBackup, &popmnuBackup}) m->Click = [this] { BackupCommand(true); };
  munAbout.Click = [this] { ShowAboutDialog(*this); };
  mnuTips.Click = [this] { TipsCommand(); };
  mnuViewHelp.Click = [this] { HelpCommand(); };
  mnuQuit.Click = [this] { Unload(); };
}

void Form1::Form_Initialize() { InitCommonControls(); }

void Form1::Form_Load() {
  Icon(DeskIcon(Glyph::Container, 32));
  Centre();
  forms::DoEvents();
  UnprotectCvdFile();
  SetCaptions();
  ShowTipsOnce = true;
  Caption(L"管理Velkiro");
  Timer1.Enabled(true);
  Timer1.Interval(4000);
  statusFlag_ = true;
  SetUpButtons();
  SetUpStatusBar();
  SetUpList();
  LoadRows();
  MarkCurrentContainer();
  UpdateButtonsForEmptyList();
}

void Form1::SetCaptions() {
  const std::pair<forms::Menu*, const wchar_t*> items[] = {
      {&mnuFile, L"文件(&F)"},         {&mnuCreate, L"创建(&C)"},
      {&mnuDelete, L"删除(&D)"},       {&mnuAdd, L"导入(&I)"},
      {&mnuMount, L"加载(&A)"},        {&mnuModifyPassword, L"修改密码(&P)"},
      {&mnuBackup, L"备份(&B)"},       {&mnuQuit, L"退出(&Q)"},
      {&mnuOption, L"选项(&O)"},       {&mnuHelp, L"帮助(&H)"},
      {&mnuViewHelp, L"查看帮助(&V)"}, {&mnuTips, L"日积月累(&T)"},
      {&munAbout, L"关于程序(&A)"},    {&mnuPopupMenu, L"右键菜单"},
      {&mnupopupCreate, L"创建(&C)"},  {&mnupopupDelete, L"删除(&D)"},
      {&mnupopupAddIn, L"导入(&I)"},   {&mnupopupMount, L"加载(&A)"},
      {&mnupopupOption, L"选项(&O)"},  {&popmnuModifyPassword, L"修改密码(&P)"},
      {&popmnuBackup, L"备份(&B)"},
  };
  for (auto& [item, text] : items) item->Caption(text);
}

void Form1::SetUpButtons() {
  const std::pair<sorvbutton::SorvButton*, std::pair<const wchar_t*, const wchar_t*>> buttons[] = {
      {&btnCreateFile, {L"创建", L"创建新的加密盘文件"}},
      {&btnDeleteFile, {L"删除", L"从列表中删除记录，或者从电脑中删除加密盘文件"}},
      {&btnImport, {L"导入", L"把加密盘文件导入到列表"}},
      {&btnActivate, {L"加载", L"激活一个加密盘，激活后方可生成虚拟磁盘"}},
      {&btnOption, {L"选项", L"程序的一些设置选项，可以从这里修改"}},
      {&btnModifyPassword, {L"修改密码", L"修改密码"}},
      {&btnBackup, {L"备份", L"备份或者移动加密盘文件"}},
      {&btnAbout, {L"关于", L"关于本软件"}},
  };
  for (auto& [b, texts] : buttons) {
    b->Caption(texts.first);
    b->ToolTipIcon(1);
    b->ContainerToolTipText(texts.second);
    b->Style(6);
  }
}

void Form1::SetUpStatusBar() {
  StatusBar1.AddPanel(forms::StatusBar::Text, forms::Align::Left, forms::StatusBar::Spring, false);
  StatusBar1.PanelText(1, kStatusReminder);
  StatusBar1.PanelToolTip(1, L"欢迎使用“Velkiro”磁盘加密软件，祝你用得开心！");
  StatusBar1.PanelPicture(1, DeskIcon(Glyph::Container, 16));
  StatusBar1.AddPanel(forms::StatusBar::Date, forms::Align::Right, forms::StatusBar::Contents,
                      false);
  StatusBar1.AddPanel(forms::StatusBar::Time, forms::Align::Right, forms::StatusBar::Contents,
                      false);
}

void Form1::SetUpList() {
  ListView1.SmallIcons(ImageList2);
  ListView1.FullRowSelect(true);
  ListView1.GridLines(true);
  const std::pair<const wchar_t*, int> columns[] = {
      {L"状态", 9}, {L"文件名", 26}, {L"文件路径", 48}, {L"文件大小", 16}};
  for (auto [text, percent] : columns)
    ListView1.AddColumn(text, ListView1.Width() * percent / 100, LVCFMT_LEFT);
}

void Form1::LoadRows() {
  std::vector<std::wstring> paths;
  ContainerList list = ContainerList::InProgramFolder();
  // A damaged list shows as empty and stays as it is: the user repairs it.
  if (list.Load(paths) == ListResult::Damaged)
    ShowDamagedListAtStart(list.File());
  for (const std::wstring& path : paths) AddRow(path, SizeText(path));
}

void Form1::AddRow(const std::wstring& path, const std::wstring& sizeText) {
  std::wstring drive, dir, file, base, ext;
  SplitPath(path, drive, dir, file, base, ext);
  const int row = ListView1.Add(L"", 1);
  ListView1.SubItem(row, 1, file);
  ListView1.SubItem(row, 2, drive + dir);
  ListView1.SubItem(row, 3, sizeText);
}

std::wstring Form1::RowPath(int row) const {
  return ListView1.SubItem(row, 2) + ListView1.SubItem(row, 1);
}

void Form1::MarkCurrentContainer() { ::MarkCurrentContainer(ListView1); }

void Form1::EnableListButtons() {
  ::EnableListButtons(btnDeleteFile, btnActivate, btnModifyPassword, btnBackup, *this);
}

void Form1::UpdateButtonsForEmptyList() {
  ::UpdateButtonsForEmptyList(ListView1, btnDeleteFile, btnActivate, btnModifyPassword, btnBackup,
                              *this);
}

bool Form1::SetCurrentContainer(const std::wstring& path) {
  if (SetSetting(L"Path", path) && CutAtNul(GetSetting(L"Path")) == path) return true;
  forms::MsgBox(
      L"不能保存当前加密盘的设置（注册表 HKLM\\SoftWare\\Sorvane 的 Path），"
      L"请检查后重新尝试一遍。",
      MB_OK | MB_ICONERROR, L"错误");
  return false;
}

void Form1::Form_Activate() {
  if (CutAtNul(GetSetting(L"TipsOfDay")) != L"0" && ShowTipsOnce) {
    ShowTipsOnce = false;
    TipOfDay tip(TipOfDay::Placement::Desk, &ShowTipsOnce);
    tip.ShowModal(nullptr);
  }
}

void Form1::Timer1_Timer() {
  StatusBar1.PanelText(1, statusFlag_ ? kStatusSlogan : kStatusReminder);
  statusFlag_ = !statusFlag_;
}

void Form1::Form_Resize() {
  if (IsIconic(hWnd())) return;
  // Compared in whole pixels: 8000 twips is no whole number of them, and a window set to
  // 8000 twips reads back a little less.
  if (forms::PixelsX(Width()) < forms::PixelsX(8000))
    Width(8000);
  else if (forms::PixelsY(Height()) < forms::PixelsY(4000))
    Height(4000);
  sizeControl();
  Refresh();
}

void Form1::sizeControl() {
  Framebar.Width(ScaleWidth());
  ListView1.Left(10);
  ListView1.Width(Width() - 160);
  ListView1.Top(Framebar.Height());
  ListView1.Height(ScaleHeight() - (StatusBar1.Height() + Framebar.Height()));
  const int percents[] = {9, 26, 48, 16};
  for (int c = 1; c <= 4 && c <= ListView1.ColumnCount(); ++c)
    ListView1.ColumnWidth(c, ListView1.Width() * percents[c - 1] / 100);
}

void Form1::Form_QueryUnload(bool& cancel, forms::UnloadMode) {
  // Closing now would leave a half-made container behind.
  if (Making) cancel = true;
}

void Form1::Form_Unload(bool&) {
  const std::wstring path = CutAtNul(GetSetting(L"Path"));
  // While the tray program (or the wizard) holds the container, guarding it would make
  // its mount fail.
  if (!path.empty() && GetFileSize(path) != 0 && ProtectFileChecked() && !SorvaneSemaphoreHeld())
    ProtectCvdFile();
  std::vector<forms::Form*> loaded = forms::Forms();
  for (auto f = loaded.rbegin(); f != loaded.rend(); ++f)
    if (*f != this) (*f)->Unload();
}

}  // namespace desk
