#include "filedialog.h"

#include <commdlg.h>

#include <vector>

namespace forms {
namespace {

FileDialogResponder& Responder() {
  static FileDialogResponder r;
  return r;
}

}  // namespace

FileDialogResponder SetFileDialogResponder(FileDialogResponder responder) {
  FileDialogResponder old = std::move(Responder());
  Responder() = std::move(responder);
  return old;
}

FileDialog::Result FileDialog::ShowOpen() { return Show(false); }
FileDialog::Result FileDialog::ShowSave() { return Show(true); }

FileDialog::Result FileDialog::Show(bool save) {
  if (Responder()) return Responder()(*this, save);
  // "a|b|c|d" becomes the double-NUL-terminated list of pairs.
  std::wstring filter = Filter;
  for (wchar_t& c : filter)
    if (c == L'|') c = L'\0';
  filter.append(2, L'\0');
  std::vector<wchar_t> name(32768, L'\0');
  FileName.copy(name.data(), name.size() - 1);

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = hWndOwner;
  ofn.lpstrFilter = Filter.empty() ? nullptr : filter.c_str();
  ofn.nFilterIndex = FilterIndex > 0 ? FilterIndex : 1;
  ofn.lpstrFile = name.data();
  ofn.nMaxFile = static_cast<DWORD>(name.size());
  ofn.lpstrTitle = DialogTitle.empty() ? nullptr : DialogTitle.c_str();
  ofn.Flags = Flags | OFN_EXPLORER | OFN_HIDEREADONLY;
  error_ = 0;
  BOOL ok = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
  if (!ok) {
    error_ = CommDlgExtendedError();
    return error_ ? Failed : Cancelled;
  }
  FileName = name.data();
  FilterIndex = static_cast<int>(ofn.nFilterIndex);
  return Chosen;
}

}  // namespace forms
