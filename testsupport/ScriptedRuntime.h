// A program's forms in-process with nothing shown outside the test: message boxes answered
// from a script; program starts, documents handed to the shell and file dialogs recorded
// instead of run. Installed through the forms runtime's seams for the object's life; the
// previous responders come back after.
#pragma once
#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "forms.h"

namespace testsupport {

class ScriptedRuntime {
 public:
  struct DialogCall {
    std::wstring title, filter, fileName;
    DWORD flags;
    bool save;
  };

  ScriptedRuntime() {
    oldBoxes_ = forms::SetMsgBoxResponder([this](const forms::MsgBoxCall& call) {
      boxes.push_back(call);
      if (onBox) onBox(call);
      int answer = answers.empty() ? IDOK : answers.front();
      if (!answers.empty()) answers.pop_front();
      return answer;
    });
    oldLauncher_ = forms::SetLauncher([this](const std::wstring& line, forms::WindowStyle style) {
      starts.push_back({line, style});
      return DWORD(1);
    });
    oldOpener_ =
        forms::SetDocumentOpener([this](const std::wstring& verb, const std::wstring& file) {
          opened.push_back({verb, file});
        });
    oldDialog_ = forms::SetFileDialogResponder([this](forms::FileDialog& d, bool save) {
      dialogs.push_back({d.DialogTitle, d.Filter, d.FileName, d.Flags, save});
      if (chosen.empty()) return forms::FileDialog::Cancelled;
      d.FileName = chosen;
      d.FilterIndex = filterIndex;
      return forms::FileDialog::Chosen;
    });
  }
  ~ScriptedRuntime() {
    forms::SetMsgBoxResponder(oldBoxes_);
    forms::SetLauncher(oldLauncher_);
    forms::SetDocumentOpener(oldOpener_);
    forms::SetFileDialogResponder(oldDialog_);
  }
  ScriptedRuntime(const ScriptedRuntime&) = delete;
  ScriptedRuntime& operator=(const ScriptedRuntime&) = delete;

  std::deque<int> answers;  // for the message boxes in turn; IDOK once used up
  std::function<void(const forms::MsgBoxCall&)> onBox;  // called as each box is shown
  std::vector<forms::MsgBoxCall> boxes;
  std::vector<std::pair<std::wstring, forms::WindowStyle>> starts;
  std::vector<std::pair<std::wstring, std::wstring>> opened;  // documents: verb, file
  std::vector<DialogCall> dialogs;
  std::wstring chosen;  // what a file dialog answers; empty: cancelled
  int filterIndex = 1;

 private:
  forms::MsgBoxResponder oldBoxes_;
  forms::Launcher oldLauncher_;
  forms::DocumentOpener oldOpener_;
  forms::FileDialogResponder oldDialog_;
};

}  // namespace testsupport
