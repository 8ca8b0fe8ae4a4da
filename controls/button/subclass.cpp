#include "subclass.h"

#include <algorithm>
#include <utility>

namespace sorvbutton {

namespace {
const wchar_t kChainProp[] = L"SorvButton.SubclassChain";
}

// One per hooked window: the procedure found there first, and the records hooked onto it
// in hook order. The window's procedure is SubclassChain::Proc while any record remains;
// serving the records newest first before the original procedure and oldest first after
// it is what a chain of separate procedures would do.
struct SubclassChain {
  WNDPROC original = nullptr;
  std::vector<std::pair<Subclasser*, int>> links;

  static SubclassChain* Of(HWND w) { return static_cast<SubclassChain*>(GetPropW(w, kChainProp)); }
  bool Holds(const std::pair<Subclasser*, int>& link) const {
    return std::find(links.begin(), links.end(), link) != links.end();
  }

  static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    SubclassChain* chain = Of(w);
    if (!chain) return DefWindowProcW(w, m, wp, lp);
    WNDPROC original = chain->original;
    auto links = chain->links;  // a handler may unhook
    for (auto it = links.rbegin(); it != links.rend(); ++it)
      if ((chain = Of(w)) && chain->Holds(*it)) it->first->Serve(it->second, true, w, m, wp, lp);
    LRESULT result = CallWindowProcW(original, w, m, wp, lp);
    chain = Of(w);
    if (m == WM_NCDESTROY && chain) {
      // The window is gone: free its records so nothing is restored onto a dead handle.
      for (auto& [owner, index] : chain->links) owner->records_[index] = Subclasser::Record{};
      RemovePropW(w, kChainProp);
      delete chain;
      return result;
    }
    for (auto& link : links)
      if ((chain = Of(w)) && chain->Holds(link))
        link.first->Serve(link.second, false, w, m, wp, lp);
    return result;
  }
};

bool Subclasser::Table::Has(UINT message) const {
  if (count == -1) return true;
  return message != 0 && std::find(list.begin(), list.end(), message) != list.end();
}

int Subclasser::Find(HWND window) const {
  for (int i = int(records_.size()) - 1; i >= 0; --i)
    if (records_[i].window == window) return i;
  return -1;
}

int Subclasser::StartSubclass(HWND window) {
  if (!window || !IsWindow(window)) return -1;
  int index = Find(nullptr);
  if (index < 0) {
    records_.emplace_back();
    index = int(records_.size()) - 1;
  }
  SubclassChain* chain = SubclassChain::Of(window);
  if (!chain) {
    chain = new SubclassChain;
    SetPropW(window, kChainProp, chain);
    chain->original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassChain::Proc)));
  }
  Record& r = records_[index];
  r = Record{};
  r.window = window;
  r.previous = chain->links.empty() ? chain->original : &SubclassChain::Proc;
  chain->links.emplace_back(this, index);
  return index;
}

void Subclasser::StopSubclass(HWND window) {
  int index = Find(window);
  if (index < 0 || !window) return;
  if (SubclassChain* chain = SubclassChain::Of(window)) {
    auto& links = chain->links;
    links.erase(std::remove(links.begin(), links.end(), std::make_pair(this, index)), links.end());
    if (links.empty()) {
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(chain->original));
      RemovePropW(window, kChainProp);
      delete chain;
    }
  }
  records_[index] = Record{};
}

void Subclasser::StopAllSubclass() {
  for (int i = int(records_.size()) - 1; i >= 0; --i)
    if (records_[i].window) StopSubclass(records_[i].window);
}

void Subclasser::AddMessage(HWND window, UINT message, int flags) {
  ForTables(window, flags, [message](Table& t) {
    if (message == kAllMessages) {
      t.count = -1;
      return;
    }
    if (message == 0 || std::find(t.list.begin(), t.list.end(), message) != t.list.end()) return;
    auto slot = std::find(t.list.begin(), t.list.end(), 0u);
    if (slot != t.list.end())
      *slot = message;
    else
      t.list.push_back(message);
    if (t.count != -1) t.count = int(t.list.size());
  });
}

void Subclasser::RemoveMessage(HWND window, UINT message, int flags) {
  ForTables(window, flags, [message](Table& t) {
    if (message == kAllMessages) {
      t.count = 0;
      t.list.clear();
      return;
    }
    std::replace(t.list.begin(), t.list.end(), message, 0u);
  });
}

bool Subclasser::IsHooked(HWND window) const { return window && Find(window) >= 0; }

int Subclasser::TableCount(HWND window, int table) const {
  int index = Find(window);
  if (index < 0) return 0;
  return (table == 1 ? records_[index].before : records_[index].after).count;
}

void Subclasser::Serve(int index, bool before, HWND w, UINT m, WPARAM wp, LPARAM lp) {
  const Record& r = records_[index];
  const Table& t = before ? r.before : r.after;
  if (t.count == 0 || !t.Has(m)) return;
  bool handled = false;
  LRESULT ret = 0;
  client_.zSubclass_Proc(before, handled, ret, w, m, wp, lp);
}

}  // namespace sorvbutton
