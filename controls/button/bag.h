// A property bag: named values that a form saves for a control at design time and hands
// back when it loads. A value equal to its write default is left out.
#pragma once
#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <variant>

namespace sorvbutton {

using BagValue = std::variant<std::int32_t, std::int16_t, bool, std::wstring, HICON, LOGFONTW>;

class PropertyBag {
 public:
  template <class T>
  T Read(const std::string& key, T fallback) const {
    auto it = values_.find(key);
    if (it == values_.end()) return fallback;
    if (const T* v = std::get_if<T>(&it->second)) return *v;
    return fallback;
  }
  template <class T>
  void Write(const std::string& key, T value, T writeDefault) {
    if (value == writeDefault)
      values_.erase(key);
    else
      values_[key] = std::move(value);
  }
  template <class T>
  void WriteAlways(const std::string& key, T value) {
    values_[key] = std::move(value);
  }
  bool Has(const std::string& key) const { return values_.count(key) != 0; }
  std::size_t Count() const { return values_.size(); }
  void Clear() { values_.clear(); }

 private:
  std::map<std::string, BagValue> values_;
};

}  // namespace sorvbutton
