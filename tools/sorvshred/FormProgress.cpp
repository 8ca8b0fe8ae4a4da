#include "FormProgress.h"

namespace shred {

FormProgress::FormProgress(shredder::ShredControl& control) : SorvShredX1(control) {
  ClientSize(6000, 1260);
  Border(forms::BorderStyle::FixedDialog);
}

void FormProgress::Design() {
  Label1.Create(*this, nullptr, L"", 240, 200, 5520, 255);
  // A long path loses its middle, not the name of the file being wiped.
  SetWindowLongPtrW(Label1.hWnd(), GWL_STYLE,
                    GetWindowLongPtrW(Label1.hWnd(), GWL_STYLE) | SS_PATHELLIPSIS);
  ProgressBar1.Create(*this, nullptr, 240, 600, 5520, 300);
  ProgressBar1.Min(0);
  ProgressBar1.Max(100);
}

void FormProgress::Form_Load() {
  Caption(L"正在彻底删除");
  Centre();
}

void FormProgress::Form_QueryUnload(bool& cancel, forms::UnloadMode) {
  if (wiping_) cancel = true;
}

void FormProgress::Wipe(const std::wstring& path, bool folder) {
  Show();
  SorvShredX1.ShredProgress = [this](const std::wstring& text, long percent) {
    SorvShredX1_ShredProgress(text, percent);
  };
  wiping_ = true;
  if (folder)
    SorvShredX1.ShredFolder(path);
  else
    SorvShredX1.ShredFile(path);
  wiping_ = false;
  SorvShredX1.ShredProgress = nullptr;
  Unload();
}

void FormProgress::SorvShredX1_ShredProgress(const std::wstring& text, long percent) {
  if (!IsLoaded()) return;
  Label1.Caption(text);
  ProgressBar1.Value(static_cast<int>(percent));
  forms::DoEvents();
}

}  // namespace shred
