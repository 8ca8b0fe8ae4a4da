#include <gtest/gtest.h>

#include "CutAtNul.h"
#include "PublicFunc.h"
#include "SavedSettings.h"

namespace {

TEST(PublicFunc, IsSpaceChar) {
  EXPECT_FALSE(IsSpaceChar(L""));
  EXPECT_FALSE(IsSpaceChar(L"password"));
  EXPECT_FALSE(IsSpaceChar(L"tab\there\x3000wide"));
  EXPECT_TRUE(IsSpaceChar(L" first"));
  EXPECT_TRUE(IsSpaceChar(L"mid dle"));
  EXPECT_TRUE(IsSpaceChar(L"last "));
}

TEST(PublicFunc, CutAtNul) {
  EXPECT_EQ(CutAtNul(std::wstring(L"abc\0def", 7)), L"abc");
  EXPECT_EQ(CutAtNul(std::wstring(L"abc")), L"abc");
  EXPECT_EQ(CutAtNul(std::wstring(128, L'\0')), L"");
}

TEST(PublicFunc, RandomCharIsBase64KeyThenNuls) {
  std::wstring a = RandomChar(), b = RandomChar();
  ASSERT_EQ(a.size(), 32u);
  EXPECT_EQ(a.substr(24), std::wstring(8, L'\0'));
  EXPECT_EQ(a.substr(22, 2), L"==");
  EXPECT_EQ(a.find_first_not_of(
                L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/="),
            24u);
  EXPECT_NE(a, b);
}

TEST(PublicFunc, GetDriveFreeMB) {
  ULARGE_INTEGER free{};
  ASSERT_TRUE(GetDiskFreeSpaceExW(L"C:\\", &free, nullptr, nullptr));
  int32_t mb = GetDriveFreeMB(L"C:");
  EXPECT_NEAR(double(mb), double(free.QuadPart) / 1048576.0, 64.0);  // the disk moves on
  EXPECT_EQ(GetDriveFreeMB(L"C:\\"), mb);
  DWORD defined = GetLogicalDrives();
  for (wchar_t l = L'Z'; l > L'C'; --l) {
    if (!(defined & (1u << (l - L'A')))) {
      EXPECT_EQ(GetDriveFreeMB(std::wstring{l, L':'}), -1);
      break;
    }
  }
}

class MainWindowStub : public forms::Form {
public:
  forms::ListView ListView1;
  forms::CommandButton btnDeleteFile, btnActivate, btnModifyPassword, btnBackup;
  forms::ImageList icons;

protected:
  void Design() override {
    ListView1.Create(*this, nullptr, 0, 0, 4000, 2000);
    icons.Create();
    icons.Add(LoadIconW(nullptr, IDI_APPLICATION));
    icons.Add(LoadIconW(nullptr, IDI_INFORMATION));
    ListView1.SmallIcons(icons);
    for (auto name : {L"", L"文件名", L"位置", L"大小"}) ListView1.AddColumn(name, 1000);
    int top = 2100;
    for (auto* b : {&btnDeleteFile, &btnActivate, &btnModifyPassword, &btnBackup})
      b->Create(*this, nullptr, L"b", 0, top, 900, 300), top += 320;
  }
};

void AddRow(forms::ListView& list, const std::wstring& file, const std::wstring& folder) {
  int row = list.Add(L"", 1);
  list.SubItem(row, 1, file);
  list.SubItem(row, 2, folder);
  list.SubItem(row, 3, L"10M");
}

TEST(ListHelpers, MarkCurrentContainer) {
  SavedSettings keep{L"Path"};
  MainWindowStub w;
  w.Load();
  AddRow(w.ListView1, L"a.cvd", L"C:\\box\\");
  AddRow(w.ListView1, L"b.cvd", L"C:\\box\\");
  AddRow(w.ListView1, L"a.cvd", L"C:\\box\\");
  auto icons = [&] {
    std::vector<int> v;
    for (int r = 1; r <= w.ListView1.Count(); ++r) v.push_back(w.ListView1.SmallIcon(r));
    return v;
  };
  SetSetting(L"Path", L"C:\\box\\a.cvd");
  MarkCurrentContainer(w.ListView1);
  EXPECT_EQ(icons(), (std::vector<int>{2, 1, 2}));
  SetSetting(L"Path", L"C:\\BOX\\b.cvd");  // case counts
  MarkCurrentContainer(w.ListView1);
  EXPECT_EQ(icons(), (std::vector<int>{1, 1, 1}));
  SetSetting(L"Path", std::wstring(L"C:\\box\\b.cvd\0junk", 17));  // cut at the NUL
  MarkCurrentContainer(w.ListView1);
  EXPECT_EQ(icons(), (std::vector<int>{1, 2, 1}));
  SetSetting(L"Path", L"");
  MarkCurrentContainer(w.ListView1);
  EXPECT_EQ(icons(), (std::vector<int>{1, 1, 1}));
  w.Unload();
}

TEST(ListHelpers, ButtonsFollowTheList) {
  MainWindowStub w;
  w.Load();
  auto states = [&] {
    return std::vector<bool>{w.btnDeleteFile.Enabled(), w.btnActivate.Enabled(),
                             w.btnModifyPassword.Enabled(), w.btnBackup.Enabled()};
  };
  const std::vector<bool> on(4, true), off(4, false);
  UpdateButtonsForEmptyList(w.ListView1, w.btnDeleteFile, w.btnActivate, w.btnModifyPassword,
                            w.btnBackup, w);
  EXPECT_EQ(states(), off);
  EnableListButtons(w.btnDeleteFile, w.btnActivate, w.btnModifyPassword, w.btnBackup, w);
  EXPECT_EQ(states(), on);
  AddRow(w.ListView1, L"a.cvd", L"C:\\");
  w.btnBackup.Enabled(false);
  UpdateButtonsForEmptyList(w.ListView1, w.btnDeleteFile, w.btnActivate, w.btnModifyPassword,
                            w.btnBackup, w);
  EXPECT_EQ(states(), (std::vector<bool>{true, true, true, false}));  // a list: left alone
  w.Unload();
}

}  // namespace
