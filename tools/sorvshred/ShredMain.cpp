#include "ShredMain.h"

#include <windows.h>

#include <optional>
#include <vector>

#include "Browse.h"
#include "FormProgress.h"
#include "FileWipe.h"
#include "Handles.h"
#include "PathText.h"

namespace shred {
namespace {

const wchar_t kBrowseTitle[] = L"Please select folder or file.";
const wchar_t kConfirmTitle[] = L"确认彻底删除";

std::wstring FolderConfirmation(const std::wstring& path) {
  return L"即将彻底删除文件夹[" + path +
         L"]和文件夹内的所有文件（及其子文件夹和子文件夹内的所有文件），"
         L"删除后将无法恢复! 确实要彻底删除吗？ ";
}

std::wstring FileConfirmation(const std::wstring& path) {
  return L"即将彻底删除文件[" + path + L"]的所有内容，删除后将无法恢复! 确实要彻底删除吗？ ";
}

constexpr size_t kMostLines = 10;

// What the control left, and why, so the user does not believe it went; a path still there
// that the control did not name was left for the common reasons.
std::wstring Report(const std::wstring& path, std::vector<shredder::ShredControl::Left> left) {
  if (left.empty()) left.push_back({path, shredder::kMayBeInUse});
  std::wstring text;
  for (size_t i = 0; i < left.size() && i < kMostLines; ++i)
    text += (i ? L"\r\n[" : L"[") + left[i].path + L"]未能彻底删除：" + left[i].why;
  if (left.size() > kMostLines)
    text += L"\r\n……另有 " + std::to_wstring(left.size() - kMostLines) + L" 项未能彻底删除。";
  return text;
}

// The entry named exactly `path`, looked up in its folder's listing through the long form
// (no 260-character limit, no trailing dot or blank dropped); nothing when there is none.
std::optional<shredder::Entry> EntryOf(const std::wstring& path) {
  const auto at = shredder::Locate(shredder::LongForm(path));
  if (!at) return std::nullopt;
  if (at->folder) CloseHandle(at->folder);
  return at->entry;
}

}  // namespace

void ShredMain(const std::wstring& arguments, shredder::ShredControl& control) {
  FormProgress form(control);
  std::wstring path = PathFromCommandLine(arguments);
  if (path.empty()) {
    form.Load();  // the browser's owner, not shown
    path = BrowseForFolderOrFile(form.hWnd(), kBrowseTitle);
  }
  path = shredder::FullPath(path);
  if (path.empty()) return;
  const std::optional<shredder::Entry> entry = EntryOf(path);
  if (!entry) {
    forms::MsgBox(Report(path, {{path, shredder::kNotFound}}), MB_OK | MB_ICONERROR, L"错误");
    return;
  }
  const bool folder = entry->attributes & FILE_ATTRIBUTE_DIRECTORY;
  if (forms::MsgBox(folder ? FolderConfirmation(path) : FileConfirmation(path),
                    MB_OKCANCEL | MB_ICONEXCLAMATION, kConfirmTitle) != IDOK)
    return;
  control.ConfirmedId = entry->id;  // what the user saw, not what the path names later
  form.Wipe(path, folder);
  if (!control.NotWiped.empty() || EntryOf(path))
    forms::MsgBox(Report(path, control.NotWiped), MB_OK | MB_ICONERROR, L"错误");
}

}  // namespace shred
