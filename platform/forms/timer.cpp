#include "timer.h"

#include "form.h"

namespace forms {

Timer::~Timer() {
  if (form_) {
    if (form_->hWnd()) KillTimer(form_->hWnd(), id_);
    form_->timers_.erase(id_);
  }
}

void Timer::Create(Form& form) {
  form.Load();
  if (form_) form_->timers_.erase(id_);
  form_ = &form;
  id_ = form.NextId();
  form.timers_[id_] = this;
  Apply();
}

void Timer::Enabled(bool on) {
  enabled_ = on;
  Apply();
}

void Timer::Interval(int ms) {
  interval_ = ms < 0 ? 0 : ms;
  Apply();
}

// Setting either property starts the count afresh, as the programs expect of a timer.
void Timer::Apply() {
  if (!form_ || !form_->hWnd()) return;
  KillTimer(form_->hWnd(), id_);
  if (enabled_ && interval_ > 0) SetTimer(form_->hWnd(), id_, interval_, nullptr);
}

}  // namespace forms
