#pragma once
// Form1: the management program's main window: the container list, the eight command
// buttons, the menus and the status bar.
#include <string>

#include "CreateForm.h"
#include "button.h"
#include "forms.h"

namespace desk {

// A path the libraries could not be given unchanged (they take ANSI text).
inline constexpr wchar_t kPathNotAnsi[] =
    L"文件路径中含有当前系统不支持的字符，请更改文件名或者更改文件夹。";

class Form1 : public forms::Form {
 public:
  Form1();

  forms::Frame Framebar;
  sorvbutton::SorvButton btnCreateFile, btnDeleteFile, btnImport, btnActivate, btnOption,
      btnModifyPassword, btnBackup, btnAbout;
  forms::ListView ListView1;
  forms::StatusBar StatusBar1;
  forms::Timer Timer1;
  forms::ImageList ImageList2, ImageList3;
  forms::Menu mnuFile, mnuCreate, mnuDelete, mnuFileBar1, mnuAdd, mnuMount, mnuFileBar2,
      mnuModifyPassword, mnuBackup, mnuFileBar3, mnuQuit, mnuOption, mnuHelp, mnuViewHelp,
      mnuHelpBar1, mnuTips, mnuHelpBar2, munAbout;
  forms::Menu mnuPopupMenu, mnupopupCreate, mnupopupDelete, mnuPopupBar1, mnupopupAddIn,
      mnupopupMount, mnuPopupBar2, mnupopupOption, popmnuModifyPassword, popmnuBackup;

  // The create dialog (shown modeless).
  Form2 createDialog{*this};

  // Set while a container file is being made: the window does not close meanwhile.
  bool Making = false;
  // True from loading until the tip dialog has been shown once (its close button clears it).
  bool ShowTipsOnce = false;

  void sizeControl();
  // "加载": makes the selected row's container current and offers to start the tray program.
  void MountFile();
  // "导入": asks for a container file and lists it.
  void ImportContainer();
  void Timer1_Timer();

  // Rows: a new last row for the container at `path` with the given size text.
  void AddRow(const std::wstring& path, const std::wstring& sizeText);
  std::wstring RowPath(int row) const;
  void MarkCurrentContainer();
  void EnableListButtons();
  void UpdateButtonsForEmptyList();
  // Appends the path to List.ini and reads it back; a failure is shown and gives false.
  bool AppendToList(const std::wstring& path);
  // Writes the setting Path and reads it back; a failure is shown and gives false.
  bool SetCurrentContainer(const std::wstring& path);

 protected:
  void Design() override;
  void Form_Initialize() override;
  void Form_Load() override;
  void Form_Activate() override;
  void Form_Resize() override;
  void Form_QueryUnload(bool& cancel, forms::UnloadMode mode) override;
  void Form_Unload(bool& cancel) override;

 private:
  void DesignMenus();
  void SetCaptions();
  void SetUpButtons();
  void SetUpStatusBar();
  void SetUpList();
  void LoadRows();
  // The commands, each shared by its button and menu entries.
  void CreateCommand();
  void RowCommand(void (*show)(Form1&));
  void BackupCommand(bool owned);
  void TipsCommand();
  void HelpCommand();
  void ListView1_MouseUp(int button);

  bool statusFlag_ = false;
};

}  // namespace desk
