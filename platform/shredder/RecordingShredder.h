// A wipe control that wipes nothing: it records each call and raises the progress events
// it is given, so the wipe shell can be driven without risk to any file.
#pragma once
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "ShredControl.h"

namespace shredder {

class RecordingShredder : public ShredControl {
 public:
  // "ShredFolder " or "ShredFile " followed by the path, one a call.
  std::vector<std::wstring> calls;
  // Raised in turn by every call.
  std::vector<std::pair<std::wstring, long>> events;
  // Runs after each event, while the call is still going on.
  std::function<void()> afterEvent;

  void ShredFolder(const std::wstring& path) override { Record(L"ShredFolder " + path); }
  void ShredFile(const std::wstring& path) override { Record(L"ShredFile " + path); }

 private:
  void Record(const std::wstring& call) {
    calls.push_back(call);
    for (const auto& [text, percent] : events) {
      RaiseProgress(text, percent);
      if (afterEvent) afterEvent();
    }
  }
};

}  // namespace shredder
