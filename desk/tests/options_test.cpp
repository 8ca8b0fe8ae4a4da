// Form5: every setting loads and saves; the key list; a write the registry refuses. Form6.
#include <fstream>

#include "AboutDialog.h"
#include "Autostart.h"
#include "DialogFixture.h"
#include "OptionsDialog.h"
#include "Reg.h"

namespace {

const wchar_t kAutostartNotInstalled[] =
    L"没有设置开机自动运行：只有从安装目录启动的程序才能设置开机自动运行。请从安装目录启动本程序"
    L"后再设置。";

class OptionsTest : public DialogFixture {
 protected:
  OptionsTest() {
    DeleteFileW(mountLog.c_str());
    for (auto [key, value] : autostart) DeleteRegValue(HKEY_CURRENT_USER, key, value);
    oldTasks_ = SetLogonTaskSink([this](const std::wstring& name, const std::wstring& xml) {
      tasks.push_back(name + L"=" + xml);
      return true;
    });
  }
  ~OptionsTest() override {
    SetLogonTaskSink(oldTasks_);
    for (auto [key, value] : autostart) DeleteRegValue(HKEY_CURRENT_USER, key, value);
  }
  // The recorded task of this name: its definition's command, "" when removed.
  std::wstring TaskCommand(const wchar_t* value) {
    std::wstring command = L"(none)";
    for (const std::wstring& t : tasks)
      if (t.rfind(LogonTaskName(value) + L"=", 0) == 0) {
        size_t begin = t.find(L"<Command>"), end = t.find(L"</Command>");
        command = begin == std::wstring::npos ? L"" : t.substr(begin + 9, end - begin - 9);
      }
    return command;
  }
  // The boxes as the dialog shows them: "protect,autostart,hotkey,ctrl,alt,shift,key" and the
  // hot-key boxes' enabled state.
  static std::wstring Shown(desk::Form5& f) {
    std::wstring s;
    for (forms::CheckBox* b : {&f.Check1, &f.Check2, &f.Check3, &f.Check4, &f.Check5, &f.Check6})
      s += std::to_wstring(b->Value()) + L",";
    return s + f.Combo1.Text() + (f.Combo1.Enabled() && f.Check4.Enabled() ? L"" : L" (off)");
  }
  static std::wstring Stored() {
    std::wstring s;
    for (auto name : {L"IsProtectFile", L"IsAutoMount", L"HotKeyConfig", L"HotKeyCtrl",
                      L"HotKeyAlt", L"HotKeyShift", L"HotKeyKey"})
      s += GetSetting(name) + L",";
    s.pop_back();
    return s;
  }
  // Deletes a key that holds no value and no subkey; true when it is not there afterwards.
  static bool DeleteIfEmpty(const std::wstring& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
      return true;
    DWORD subkeys = 0, values = 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                     nullptr, nullptr, nullptr);
    RegCloseKey(key);
    return subkeys == 0 && values == 0 &&
           RegDeleteKeyW(HKEY_CURRENT_USER, path.c_str()) == ERROR_SUCCESS;
  }
  std::string FirstMountWord() {
    std::string word;
    std::ifstream(forms::ToAnsi(mountLog)) >> word;
    DeleteFileW(mountLog.c_str());
    return word;
  }

  const std::wstring mountLog = forms::AppPath() + L"\\mount-commands.txt";
  const std::pair<const wchar_t*, const wchar_t*> autostart[2] = {
      {AutostartRunKey, SRStartValue}, {AutostartPolicyKey, SRProtectValue}};
  std::vector<std::wstring> tasks;  // "name=definition"

 private:
  LogonTaskSink oldTasks_;
};

TEST_F(OptionsTest, StoredValuesLoad) {
  // IsProtectFile, IsAutoMount, HotKeyConfig, HotKeyCtrl, HotKeyAlt, HotKeyShift, HotKeyKey;
  // nullptr: not stored.
  using Values = std::array<const wchar_t*, 7>;
  const std::pair<Values, const wchar_t*> cases[] = {
      {{}, L"0,0,1,1,1,0,F12"},
      {{L"1", L"1", L"1", L"0", L"0", L"1", L"78"}, L"1,1,1,0,0,1,N"},
      {{L"0", L"0", L"0", L"1", L"1", L"1", L"65"}, L"0,0,0,0,0,0, (off)"},
      {{L"", L"x", L"", L"", L"", L"x", L"112"}, L"0,0,1,1,1,0,F1"},
      {{nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, L"122"}, L"0,0,1,1,1,0,F11"},
      // Any other number is the character with that code ("中" typed stores 20013)...
      {{nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, L"255"}, L"0,0,1,1,1,0,\u00FF"},
      {{nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, L"20013"}, L"0,0,1,1,1,0,中"},
      {{nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, L"128512"},
       L"0,0,1,1,1,0,\U0001F600"},
      // ...unless it names none (nor is a number): F12, and the dialog still loads.
      {{nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, L"0"}, L"0,0,1,1,1,0,F12"},
      {{nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, L"55296"}, L"0,0,1,1,1,0,F12"},
      {{nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, L"1114112"}, L"0,0,1,1,1,0,F12"},
      {{nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, L"F5"}, L"0,0,1,1,1,0,F12"},
  };
  const wchar_t* names[] = {L"IsProtectFile", L"IsAutoMount", L"HotKeyConfig", L"HotKeyCtrl",
                            L"HotKeyAlt",     L"HotKeyShift", L"HotKeyKey"};
  for (const auto& [values, shown] : cases) {
    for (int i = 0; i < 7; ++i)
      values[i] ? SetSetting(names[i], values[i])
                : DeleteRegValue(HKEY_LOCAL_MACHINE, SettingsKey, names[i]);
    desk::Form5 form;
    form.Load();
    EXPECT_EQ(Shown(form), shown) << forms::ToAnsi(shown);
    EXPECT_TRUE(boxes.empty());
    form.Unload();
  }
}

TEST_F(OptionsTest, ConfirmStoresEveryBoxCancelNothing) {
  SetSetting(L"Path", dir / L"current.cvd");
  struct Case {
    int protect, autostart, hotkey, ctrl, alt, shift;
    const wchar_t* key;
    const wchar_t* stored;
    const char* mountWord;
  };
  const Case cases[] = {
      {1, 1, 1, 0, 1, 1, L"a", L"1,1,1,0,1,1,97", "/lockfile"},
      {0, 0, 1, 1, 0, 0, L"F5", L"0,0,1,1,0,0,116", "/unlockfile"},
      {0, 1, 1, 1, 1, 0, L"", L"0,1,1,1,1,0,123", "/unlockfile"},
      {0, 0, 1, 1, 0, 0, L"\U0001F600", L"0,0,1,1,0,0,128512", "/unlockfile"},  // one character
      // Switched off, the modifiers are stored as shown.
      {1, 0, 0, 1, 0, 1, L"Z", L"1,0,0,1,0,1,90", "/lockfile"},
  };
  for (const Case& c : cases) {
    desk::Form5 form;
    form.Load();
    int values[] = {c.protect, c.autostart, 1, c.ctrl, c.alt, c.shift};
    forms::CheckBox* checks[] = {&form.Check1, &form.Check2, &form.Check3,
                                 &form.Check4, &form.Check5, &form.Check6};
    for (int i = 0; i < 6; ++i) checks[i]->Value(values[i]);
    form.Combo1.Text(c.key);
    form.Check3.Value(c.hotkey);
    Click(form.Command1);
    EXPECT_FALSE(form.IsLoaded());
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(Stored(), c.stored);
    EXPECT_EQ(FirstMountWord(), c.mountWord);
    // Quoted; each program started by its logon task (SorvGuard needs administrator rights
    // for the driver, start.exe asks for them).
    const std::wstring start = L"\"" + forms::AppPath() + L"\\start.exe\"",
                       guard = L"\"" + forms::AppPath() + L"\\SorvGuard.exe\"";
    EXPECT_EQ(GetRegValue(HKEY_CURRENT_USER, AutostartRunKey, SRStartValue),
              c.autostart ? start : L"");
    EXPECT_EQ(GetRegValue(HKEY_CURRENT_USER, AutostartPolicyKey, SRProtectValue),
              c.protect ? guard : L"");
    EXPECT_EQ(TaskCommand(L"SRStart"), c.autostart ? start : L"");
    EXPECT_EQ(TaskCommand(L"SRProtect"), c.protect ? guard : L"");
    tasks.clear();
  }
  desk::Form5 form;
  form.Load();
  form.Check1.Value(0);
  form.Combo1.Text(L"Q");
  Click(form.Command2);
  EXPECT_EQ(Stored(), L"1,0,0,1,0,1,90");
  EXPECT_EQ(FirstMountWord(), "");
}

TEST_F(OptionsTest, LogonStartsOnlyFromTheInstalledProgram) {
  TempDir installed(L"options_installed");
  SetSetting(InstallFolderValue, installed.path());
  SetSetting(L"IsAutoMount", L"0");
  desk::Form5 form;
  form.Load();
  form.Check1.Value(1);
  form.Check2.Value(1);
  Click(form.Command1);
  ExpectBox(0, kAutostartNotInstalled, L"注意", MB_ICONEXCLAMATION);
  EXPECT_EQ(boxes.size(), 1u);
  EXPECT_FALSE(form.IsLoaded());
  for (auto [key, value] : autostart) EXPECT_EQ(GetRegValue(HKEY_CURRENT_USER, key, value), L"");
  EXPECT_EQ(TaskCommand(L"SRStart"), L"(none)");
  EXPECT_EQ(TaskCommand(L"SRProtect"), L"(none)");
  // The rest is saved; IsAutoMount still says what is registered.
  EXPECT_EQ(Stored(), L"1,0,1,1,1,0,123");
}

TEST_F(OptionsTest, FortyEightKeysOnceEach) {
  desk::Form5 form;
  form.Load();
  for (int i = 0; i < 3; ++i) {
    form.Check3.Value(0);
    form.Check3.Value(1);
  }
  std::wstring shown;
  for (int i = 0; i < form.Combo1.ListCount(); ++i) shown += form.Combo1.List(i) + L" ";
  EXPECT_EQ(shown,
            L"0 1 2 3 4 5 6 7 8 9 A B C D E F G H I J K L M N O P Q R S T U V W X Y Z "
            L"F1 F2 F3 F4 F5 F6 F7 F8 F9 F10 F11 F12 ");
  EXPECT_EQ(form.Combo1.Text(), L"F12");
}

TEST_F(OptionsTest, RefusedRegistryWriteIsReported) {
  // A volatile key takes no lasting subkey: SRProtect's key cannot be made under it. Its
  // parent, left empty by the other cases, is made volatile for the length of the test.
  const std::wstring explorer = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
  if (!DeleteIfEmpty(explorer + L"\\Run") || !DeleteIfEmpty(explorer))
    GTEST_SKIP() << "this prefix keeps settings of its own under " << forms::ToAnsi(explorer);
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, explorer.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                            KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(key);
  desk::Form5 form;
  form.Load();
  form.Check1.Value(1);
  Click(form.Command1);
  RegDeleteKeyW(HKEY_CURRENT_USER, explorer.c_str());
  ExpectBox(0, L"选项没有全部保存：不能写入注册表，请确认有修改注册表的权限后重试一次。", L"错误",
            MB_ICONERROR);
  EXPECT_TRUE(form.IsLoaded());
}

TEST(AboutBox, Texts) {
  desk::Form6 about;
  about.Load();
  EXPECT_EQ(about.Caption(), L"关于“Velkiro”");
  EXPECT_EQ(about.Label1.Caption(), L"Velkiro（Sorvane）");
  EXPECT_EQ(about.Label2.Caption(), L"磁盘加密软件 For Windows2000/XP/2003");
  EXPECT_EQ(about.Label4.Caption(), L"版本：1.27");
  EXPECT_EQ(about.Command1.Caption(), L"确定");
  SendMessageW(about.Command1.hWnd(), BM_CLICK, 0, 0);
  EXPECT_FALSE(about.IsLoaded());
}

}  // namespace
