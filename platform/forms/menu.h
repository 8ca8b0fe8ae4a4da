// Menu: one entry of a form's menu bar, of a sub-menu, or a pop-up menu of its own.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace forms {

class Form;

class Menu {
 public:
  Menu() = default;
  Menu(const Menu&) = delete;
  Menu& operator=(const Menu&) = delete;

  // A title in the form's menu bar.
  void CreateTop(Form& form, const std::wstring& caption);
  // An entry of `parent` (which becomes a sub-menu).
  void Create(Menu& parent, const std::wstring& caption);
  // A separator line in `parent`.
  void CreateSeparator(Menu& parent);
  // A menu not shown in the bar, for Form::PopupMenu.
  void CreatePopup(Form& form, const std::wstring& caption);

  std::wstring Caption() const { return caption_; }
  void Caption(const std::wstring& text);
  bool Enabled() const { return enabled_; }
  void Enabled(bool on);
  bool Checked() const { return checked_; }
  void Checked(bool on);
  int Id() const { return id_; }
  HMENU Handle();  // the sub-menu of the entry

  std::function<void()> Click;

 private:
  void Insert(HMENU into, bool separator);
  void Redraw();
  Form* form_ = nullptr;
  HMENU in_ = nullptr;   // the menu holding this entry
  HMENU sub_ = nullptr;  // this entry's own items
  int id_ = 0;
  std::wstring caption_;
  bool enabled_ = true;
  bool checked_ = false;
};

}  // namespace forms
