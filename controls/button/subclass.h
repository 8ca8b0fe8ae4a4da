// Window subclassing with per-window message tables. A hooked window's messages that are
// in its tables reach the client's zSubclass_Proc; every message still reaches the
// previous window procedure. Table 1 is served before it, table 2 after.
#pragma once
#include <windows.h>

#include <vector>

namespace sorvbutton {

class SubclassClient {
 public:
  virtual ~SubclassClient() = default;
  // Returns 0, or an error code when the handler failed.
  virtual long zSubclass_Proc(bool bBefore, bool& bHandled, LRESULT& lReturn, HWND lng_hWnd,
                              UINT uMsg, WPARAM wParam, LPARAM lParam) = 0;
};

constexpr UINT kAllMessages = UINT(-1);

class Subclasser {
 public:
  explicit Subclasser(SubclassClient& client) : client_(client) {}
  ~Subclasser() { StopAllSubclass(); }
  Subclasser(const Subclasser&) = delete;
  Subclasser& operator=(const Subclasser&) = delete;

  int StartSubclass(HWND window);
  void StopSubclass(HWND window);
  void StopAllSubclass();
  void AddMessage(HWND window, UINT message, int flags);
  void RemoveMessage(HWND window, UINT message, int flags);
  bool IsHooked(HWND window) const;
  // The messages of one table (for checks); count -1 means all messages.
  int TableCount(HWND window, int table) const;

 private:
  struct Table {
    int count = 0;
    std::vector<UINT> list;
    bool Has(UINT message) const;
  };
  struct Record {
    HWND window = nullptr;
    WNDPROC previous = nullptr;
    Table before, after;
  };
  friend struct SubclassChain;

  int Find(HWND window) const;
  // Calls f for the tables that flags names (1 before, 2 after) of a hooked window.
  template <typename F>
  void ForTables(HWND window, int flags, F f) {
    int index = Find(window);
    if (index < 0) return;
    if (flags & 1) f(records_[index].before);
    if (flags & 2) f(records_[index].after);
  }
  void Serve(int index, bool before, HWND w, UINT m, WPARAM wp, LPARAM lp);

  SubclassClient& client_;
  std::vector<Record> records_;
};

}  // namespace sorvbutton
