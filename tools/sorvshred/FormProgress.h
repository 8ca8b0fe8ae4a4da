#pragma once
// The progress window: the wipe control's texts and percentage while it wipes.
#include <string>

#include "ShredControl.h"
#include "forms.h"

namespace shred {

class FormProgress : public forms::Form {
 public:
  explicit FormProgress(shredder::ShredControl& control);
  forms::Label Label1;
  forms::ProgressBar ProgressBar1;
  shredder::ShredControl& SorvShredX1;

  // Shows the window, has the control wipe the folder or the file, then unloads the window.
  void Wipe(const std::wstring& path, bool folder);

 protected:
  void Design() override;
  void Form_Load() override;
  // The window stays up for as long as the wipe runs: the wipe runs inside its events.
  void Form_QueryUnload(bool& cancel, forms::UnloadMode mode) override;

 private:
  void SorvShredX1_ShredProgress(const std::wstring& text, long percent);
  bool wiping_ = false;
};

}  // namespace shred
