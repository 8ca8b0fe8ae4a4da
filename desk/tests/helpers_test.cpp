#include <gtest/gtest.h>

#include "PublicFunc.h"
#include "SavedSettings.h"

namespace {

TEST(PublicFunc, SmallHelpers) {
  // Only character 32 is a blank.
  EXPECT_FALSE(IsSpaceChar(L"tab\there\x3000wide"));
  EXPECT_TRUE(IsSpaceChar(L"last "));
  // A disk key: 24 Base64 characters then 8 NULs, new every time.
  std::wstring key = RandomChar();
  ASSERT_EQ(key.size(), 32u);
  EXPECT_EQ(key.substr(24), std::wstring(8, L'\0'));
  EXPECT_EQ(key.find_first_not_of(L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/="),
            24u);
  EXPECT_NE(RandomChar(), key);
  ULARGE_INTEGER free{};
  ASSERT_TRUE(GetDiskFreeSpaceExW(L"C:\\", &free, nullptr, nullptr));
  EXPECT_NEAR(GetDriveFreeMB(L"C:\\"), double(free.QuadPart) / 1048576.0, 64.0);  // it moves on
  wchar_t unused = L'Z';
  while (GetLogicalDrives() & (1u << (unused - L'A'))) --unused;
  EXPECT_EQ(GetDriveFreeMB(std::wstring{unused, L':'}), -1);
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

TEST(ListHelpers, MarkCurrentContainerAndButtons) {
  SavedSettings keep{L"Path"};
  MainWindowStub w;
  w.Load();
  UpdateButtonsForEmptyList(w.ListView1, w.btnDeleteFile, w.btnActivate, w.btnModifyPassword,
                            w.btnBackup, w);
  EXPECT_FALSE(w.btnBackup.Enabled());
  EnableListButtons(w.btnDeleteFile, w.btnActivate, w.btnModifyPassword, w.btnBackup, w);
  EXPECT_TRUE(w.btnBackup.Enabled());
  for (auto file : {L"a.cvd", L"b.cvd", L"a.cvd"}) {
    int row = w.ListView1.Add(L"", 1);
    w.ListView1.SubItem(row, 1, file);
    w.ListView1.SubItem(row, 2, L"C:\\box\\");
  }
  const std::pair<std::wstring, std::vector<int>> rows[] = {
      {L"C:\\box\\a.cvd", {2, 1, 2}},
      {L"C:\\BOX\\b.cvd", {1, 1, 1}},  // case counts
      {std::wstring(L"C:\\box\\b.cvd\0junk", 17), {1, 2, 1}},  // cut at the NUL
      {L"", {1, 1, 1}},
  };
  for (auto& [path, icons] : rows) {
    SetSetting(L"Path", path);
    MarkCurrentContainer(w.ListView1);
    std::vector<int> shown;
    for (int r = 1; r <= w.ListView1.Count(); ++r) shown.push_back(w.ListView1.SmallIcon(r));
    EXPECT_EQ(shown, icons) << path;
  }
  w.Unload();
}

}  // namespace
