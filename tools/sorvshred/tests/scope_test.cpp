// The real wiper on drive K:, a host folder of this test's own (wipe-drive.sh): what the user
// chose goes; what only a link or a second name leads to stays, byte for byte.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
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
  Snapshot(L"K:\\small", files);  // Wine shows a mounted file system as a link
  return files;
}

bool Under(const std::wstring& path, const std::wstring& top) {
  return path == top || path.rfind(top + L"\\", 0) == 0;
}

// The wipe asks the system the test's questions through this seam. Wine keeps no named
// streams: here K:\streams\s.txt has two, held in K:\stream-data, and so has
// K:\streams2\t.txt. Wine places no holes: here K:\small\ranges.bin has its data where the
// drive script wrote it. And the wipe of K:\swap\a.txt, after K:\swap was listed, is when the
// drive script's helper swaps K:\swap\sub for a host link to K:\outside.
class Seam : public shredder::FileLayout {
 public:
  std::vector<std::wstring> Named(HANDLE file, const std::wstring& path) override {
    if (path.ends_with(L"\\swap\\a.txt")) SwapSubFolder();
    if (path.ends_with(L"\\streams\\s.txt")) return {L":a:$DATA", L":b:$DATA"};
    if (path.ends_with(L"\\streams2\\t.txt")) return {L":c:$DATA", L":d:$DATA"};
    return FileLayout::Named(file, path);
  }
  HANDLE Open(HANDLE, const std::wstring&, const std::wstring& name) override {
    return CreateFileW((L"K:\\stream-data\\" + name.substr(1, 1)).c_str(),
                       shredder::kWipeAccess, shredder::kWipeShare, nullptr, OPEN_EXISTING, 0,
                       nullptr);
  }
  std::vector<shredder::Range> Allocated(HANDLE stream, const std::wstring& path,
                                         uint64_t size) override {
    if (path.ends_with(L"\\small\\ranges.bin")) return {{0, 65536}, {1 << 20, 65536}};
    return FileLayout::Allocated(stream, path, size);
  }

 private:
  // Asks the helper and waits (ten seconds at most) until it has answered.
  static void SwapSubFolder() {
    HANDLE changed = FindFirstChangeNotificationW(L"K:\\", FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
    CloseHandle(CreateFileW(L"K:\\swap-request", GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    for (int n = 0; n < 100 && GetFileAttributesW(L"K:\\swap-request") != INVALID_FILE_ATTRIBUTES;
         ++n)
      if (WaitForSingleObject(changed, 100) == WAIT_OBJECT_0) FindNextChangeNotification(changed);
    FindCloseChangeNotification(changed);
  }
};

class WipeScope : public testing::Test, protected testsupport::ScriptedRuntime {
 protected:
  std::vector<std::wstring> Run(const std::wstring& arguments) {
    boxes.clear();
    shred::ShredMain(arguments, control);
    std::vector<std::wstring> shown;
    for (auto& b : boxes)
      shown.push_back(b.title + L" " + std::to_wstring(b.style) + L": " + b.prompt);
    return shown;
  }
  Seam seam;
  shredder::SorvShredX control{seam};
};

// Each row wipes one path of the drive: every file under it goes but the ones kept, and the
// report names each of those; a file's named streams hold only zeros before it goes. Nothing
// else on the drive changes. Wine cannot remove a host link without following it (it removes
// the link's target instead), so here the links stay and are reported; on Windows they go.
TEST_F(WipeScope, OnlyWhatTheUserChoseGoes) {
  if (GetFileAttributesW(L"K:\\outside") == INVALID_FILE_ATTRIBUTES)
    GTEST_SKIP() << "drive K: is not set up (wipe-drive.sh)";
  const bool small = GetFileAttributesW(L"K:\\small\\filler") != INVALID_FILE_ATTRIBUTES;
  if (!small) std::fprintf(stderr, "no full small drive here (tmpfs not mounted): rows skipped\n");
  const struct {
    std::wstring arguments, confirm;  // the command line; the confirmation, when one comes
    std::wstring gone;                // what goes, but what is kept
    std::vector<std::wstring> kept = {}, reports = {}, zeroed = {};
    std::map<std::wstring, std::string> appear = {};  // what shows up elsewhere
    std::wstring held = {};  // held by another program with no sharing meanwhile
    bool needsSmall = false;
    std::function<void()> whileConfirming = {};
  } rows[] = {
      {L"K:\\links", FolderBox(L"K:\\links"), L"K:\\links", {L"K:\\links\\to-outside"},
       {LinkLeftLine(L"K:\\links\\to-outside")}},
      {L"K:\\alone", FolderBox(L"K:\\alone"), L"K:\\alone", {L"K:\\alone"},
       {LinkLeftLine(L"K:\\alone")}},
      {L"K:\\hard", FolderBox(L"K:\\hard"), L"K:\\hard", {L"K:\\hard\\inner.txt"},
       {SeveralNamesLine(L"K:\\hard\\inner.txt")}},
      {L"K:\\deep", FolderBox(L"K:\\deep"), L"K:\\deep"},
      {L"K:\\streams", FolderBox(L"K:\\streams"), L"K:\\streams", {}, {},
       {L"K:\\stream-data\\a", L"K:\\stream-data\\b"}},
      // The sub-folder listed is not the one found when its turn comes: left, named.
      {L"K:\\swap", FolderBox(L"K:\\swap"), L"K:\\swap", {}, {ChangedLine(L"K:\\swap\\sub")}, {},
       {{L"K:\\swap\\sub", kLink}, {L"K:\\swap\\sub-away\\b.txt", "wipe b\n"}}},
      // Names the path functions would shorten to the name beside them.
      {L"K:\\names\\name.txt.", FileBox(L"K:\\names\\name.txt."), L"K:\\names\\name.txt."},
      {L"\"K:\\names\\sp.txt \"", FileBox(L"K:\\names\\sp.txt "), L"K:\\names\\sp.txt "},
      {L"K:\\nothere\\x.txt", L"", L"", {}, {NotFoundBox(L"K:\\nothere\\x.txt")}},
      // A folder above the file confirmed replaced meanwhile: the file found there is not the
      // one confirmed.
      {L"K:\\above\\mid\\t.txt", FileBox(L"K:\\above\\mid\\t.txt"), L"K:\\decoy", {},
       {ChangedLine(L"K:\\above\\mid\\t.txt")}, {},
       {{L"K:\\above\\mid-away\\t.txt", "confirmed\n"},
        {L"K:\\above\\mid\\t.txt", "not confirmed\n"}},
       L"", false, [] {
         MoveFileW(L"K:\\above\\mid", L"K:\\above\\mid-away");
         MoveFileW(L"K:\\decoy", L"K:\\above\\mid");
       }},
      // One stream held by another program: the file and both streams stay whole.
      {L"K:\\streams2\\t.txt", FileBox(L"K:\\streams2\\t.txt"), L"K:\\streams2\\t.txt",
       {L"K:\\streams2\\t.txt"}, {NotWipedBox(L"K:\\streams2\\t.txt")}, {}, {},
       L"K:\\stream-data\\d"},
      // Sparse on a full drive: with its data ranges known it needs no new space and goes;
      // where they are not known (Wine) it is left whole, and the reason is said.
      {L"K:\\small\\ranges.bin", FileBox(L"K:\\small\\ranges.bin"), L"K:\\small\\ranges.bin",
       {}, {}, {}, {}, L"", true},
      {L"K:\\small\\whole.bin", FileBox(L"K:\\small\\whole.bin"), L"K:\\small\\whole.bin",
       {L"K:\\small\\whole.bin"}, {NoSpaceLine(L"K:\\small\\whole.bin")}, {}, {}, L"", true},
  };
  ASSERT_EQ(Drive().count(L"K:\\outside\\keep.txt"), 1u);
  for (const auto& row : rows) {
    if (row.needsSmall && !small) continue;
    SCOPED_TRACE(testing::Message() << row.arguments);
    auto expected = Drive();
    std::erase_if(expected, [&](const auto& file) {
      return !row.gone.empty() && Under(file.first, row.gone) &&
             std::find(row.kept.begin(), row.kept.end(), file.first) == row.kept.end();
    });
    for (const std::wstring& stream : row.zeroed)
      expected[stream] = std::string(expected[stream].size(), '\0');
    for (const auto& [path, bytes] : row.appear) expected[path] = bytes;
    std::vector<std::wstring> boxes;
    if (!row.confirm.empty()) boxes.push_back(L"确认彻底删除 49: " + row.confirm);
    std::wstring report;
    for (const std::wstring& line : row.reports) report += (report.empty() ? L"" : L"\r\n") + line;
    if (!report.empty()) boxes.push_back(L"错误 16: " + report);
    HANDLE held = row.held.empty() ? INVALID_HANDLE_VALUE
                                   : CreateFileW(row.held.c_str(), GENERIC_READ, 0, nullptr,
                                                 OPEN_EXISTING, 0, nullptr);
    onBox = [&](const forms::MsgBoxCall& box) {
      if (row.whileConfirming && box.title == L"确认彻底删除") row.whileConfirming();
    };
    EXPECT_EQ(Run(row.arguments), boxes);
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    EXPECT_EQ(Drive(), expected);
  }
}

}  // namespace
