#pragma once
// Answers every message box with OK and keeps what was shown.
#include <vector>

#include "forms.h"

struct MsgBoxLog {
  std::vector<forms::MsgBoxCall> calls;
  forms::MsgBoxResponder previous = forms::SetMsgBoxResponder([this](const forms::MsgBoxCall& c) {
    calls.push_back(c);
    return IDOK;
  });
  ~MsgBoxLog() { forms::SetMsgBoxResponder(previous); }
};
