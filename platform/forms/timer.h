// Timer: raises Tick every Interval milliseconds while enabled and its form is loaded.
#pragma once
#include <windows.h>

#include <functional>

namespace forms {

class Form;

class Timer {
 public:
  Timer() = default;
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;
  ~Timer();

  void Create(Form& form);
  bool Enabled() const { return enabled_; }
  void Enabled(bool on);
  int Interval() const { return interval_; }
  void Interval(int ms);  // 0 stops it, as when disabled
  std::function<void()> Tick;

 private:
  friend class Form;
  void Apply();
  Form* form_ = nullptr;
  UINT_PTR id_ = 0;
  bool enabled_ = true;
  int interval_ = 0;
};

}  // namespace forms
