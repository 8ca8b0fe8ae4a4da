#pragma once
// Answers every message box with OK and keeps what was shown.
#include <vector>

#include "forms.h"

class MsgBoxLog {
public:
  MsgBoxLog() {
    previous_ = forms::SetMsgBoxResponder([this](const forms::MsgBoxCall& call) {
      calls.push_back(call);
      return IDOK;
    });
  }
  ~MsgBoxLog() { forms::SetMsgBoxResponder(previous_); }
  std::vector<forms::MsgBoxCall> calls;

private:
  forms::MsgBoxResponder previous_;
};
