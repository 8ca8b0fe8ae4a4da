// FileDialog: the common open and save dialogs.
// Set the fields, call ShowOpen or ShowSave, read FileName (and FilterIndex) after Chosen.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace forms {

class FileDialog {
 public:
  enum Result {
    Chosen,
    Cancelled,  // the user closed the dialog without a choice
    Failed,     // the dialog could not be shown: Error() holds the reason
  };

  std::wstring DialogTitle;
  HWND hWndOwner = nullptr;
  DWORD Flags = 0;        // OFN_ bits, e.g. 0x1800 = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST
  std::wstring Filter;    // "CVD files (*.cvd)|*.cvd|All files (*.*)|*.*"
  std::wstring FileName;  // proposed name before, full path of the choice after
  int FilterIndex = 1;    // from 1

  Result ShowOpen();
  Result ShowSave();
  DWORD Error() const { return error_; }  // CommDlgExtendedError of a failure

 private:
  Result Show(bool save);
  DWORD error_ = 0;
};

// Replaces the real dialogs (an empty responder restores them); returns the previous one.
// Tests answer with a choice (FileName, FilterIndex set) or a cancel and read the settings.
using FileDialogResponder = std::function<FileDialog::Result(FileDialog& dialog, bool save)>;
FileDialogResponder SetFileDialogResponder(FileDialogResponder responder);

}  // namespace forms
