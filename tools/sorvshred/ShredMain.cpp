#include "ShredMain.h"

#include <windows.h>

#include "Browse.h"
#include "FormProgress.h"
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

// The control reports nothing; a path still there afterwards was not wiped (a file held
// open by another program, no rights), and the user must not believe it was.
std::wstring NotWiped(const std::wstring& path) {
  return L"[" + path + L"]未能彻底删除：它可能正被其他程序使用，或您没有删除它的权限。";
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

void ShredMain(const std::wstring& arguments, shredder::ShredControl& control) {
  FormProgress form(control);
  std::wstring path = PathFromCommandLine(arguments);
  if (path.empty()) {
    form.Load();  // the browser's owner, not shown
    path = BrowseForFolderOrFile(form.hWnd(), kBrowseTitle);
  }
  path = FullPath(path);
  const DWORD attributes =
      path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  const bool folder = attributes & FILE_ATTRIBUTE_DIRECTORY;
  if (forms::MsgBox(folder ? FolderConfirmation(path) : FileConfirmation(path),
                    MB_OKCANCEL | MB_ICONEXCLAMATION, kConfirmTitle) != IDOK)
    return;
  form.Wipe(path, folder);
  if (Exists(path)) forms::MsgBox(NotWiped(path), MB_OK | MB_ICONERROR, L"错误");
}

}  // namespace shred
