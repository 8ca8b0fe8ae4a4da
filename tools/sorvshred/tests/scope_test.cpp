// The real wiper on drive K:, a host folder of this test's own (wipe-drive.sh): what the user
// chose goes; what only a link or a second name leads to stays, byte for byte.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "ScriptedRuntime.h"
#include "ShredMain.h"
#include "SorvShredX.h"
#include "Texts.h"

namespace {

const std::wstring kDrive = L"K:";
const std::string kLink = "<link>";

std::string Read(const std::wstring& path) {
  HANDLE file =
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  std::string bytes(1 << 16, '\0');
  DWORD got = 0;
  ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
  CloseHandle(file);
  bytes.resize(got);
  return bytes;
}

// Every file under `folder` with its bytes, and every folder link, listed but not entered.
void Snapshot(const std::wstring& folder, std::map<std::wstring, std::string>& files) {
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = found.cFileName, path = folder + L"\\" + name;
    if (name == L"." || name == L"..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
      files[path] = kLink;
    else if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      Snapshot(path, files);
    else
      files[path] = Read(path);
  } while (FindNextFileW(find, &found));
  FindClose(find);
}

std::map<std::wstring, std::string> Drive() {
  std::map<std::wstring, std::string> files;
  Snapshot(kDrive, files);
  return files;
}

bool Under(const std::wstring& path, const std::wstring& top) {
  return path == top || path.rfind(top + L"\\", 0) == 0;
}

// Wine keeps no named streams: here K:\streams\s.txt has two, held in K:\stream-data.
class SideStreams : public shredder::FileLayout {
 public:
  std::vector<std::wstring> Named(HANDLE file, const std::wstring& path) override {
    if (path.ends_with(L"\\streams\\s.txt")) return {L":a:$DATA", L":b:$DATA"};
    return FileLayout::Named(file, path);
  }
  HANDLE Open(HANDLE, const std::wstring&, const std::wstring& name) override {
    return CreateFileW((L"K:\\stream-data\\" + name.substr(1, 1)).c_str(),
                       shredder::kWipeAccess, shredder::kWipeShare, nullptr, OPEN_EXISTING, 0,
                       nullptr);
  }
};

class WipeScope : public testing::Test, protected testsupport::ScriptedRuntime {
 protected:
  std::vector<std::wstring> Run(const std::wstring& path) {
    boxes.clear();
    shred::ShredMain(path, control);
    std::vector<std::wstring> shown;
    for (auto& b : boxes)
      shown.push_back(b.title + L" " + std::to_wstring(b.style) + L": " + b.prompt);
    return shown;
  }
  SideStreams streams;
  shredder::SorvShredX control{streams};
};

// Each row wipes one path of the drive: every file under it goes but the ones kept, and the
// report names each of those; a file's named streams hold only zeros before it goes. Nothing
// else on the drive changes. Wine cannot remove a host link without following it (it removes
// the link's target instead), so here the links stay and are reported; on Windows they go.
TEST_F(WipeScope, OnlyWhatTheUserChoseGoes) {
  if (GetFileAttributesW(L"K:\\outside") == INVALID_FILE_ATTRIBUTES)
    GTEST_SKIP() << "drive K: is not set up (wipe-drive.sh)";
  const struct {
    std::wstring path;
    std::vector<std::wstring> kept;
    std::wstring report;
    std::vector<std::wstring> zeroed;
  } rows[] = {
      {L"K:\\links", {L"K:\\links\\to-outside"}, LinkLeftLine(L"K:\\links\\to-outside"), {}},
      {L"K:\\alone", {L"K:\\alone"}, LinkLeftLine(L"K:\\alone"), {}},
      {L"K:\\hard", {L"K:\\hard\\inner.txt"}, SeveralNamesLine(L"K:\\hard\\inner.txt"), {}},
      {L"K:\\deep", {}, L"", {}},
      {L"K:\\streams", {}, L"", {L"K:\\stream-data\\a", L"K:\\stream-data\\b"}},
  };
  ASSERT_EQ(Drive().count(L"K:\\outside\\keep.txt"), 1u);
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << row.path);
    auto expected = Drive();
    std::erase_if(expected, [&](const auto& file) {
      return Under(file.first, row.path) &&
             std::find(row.kept.begin(), row.kept.end(), file.first) == row.kept.end();
    });
    for (const std::wstring& stream : row.zeroed)
      expected[stream] = std::string(expected[stream].size(), '\0');
    std::vector<std::wstring> boxes = {L"确认彻底删除 49: " + FolderBox(row.path)};
    if (!row.report.empty()) boxes.push_back(L"错误 16: " + row.report);
    EXPECT_EQ(Run(row.path), boxes);
    EXPECT_EQ(Drive(), expected);
  }
}

}  // namespace
