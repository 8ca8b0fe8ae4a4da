#include "menu.h"

#include "form.h"

namespace forms {

void Menu::Insert(HMENU into, bool separator) {
  in_ = into;
  MENUITEMINFOW mi{};
  mi.cbSize = sizeof mi;
  if (separator) {
    mi.fMask = MIIM_FTYPE | MIIM_ID;
    mi.fType = MFT_SEPARATOR;
  } else {
    mi.fMask = MIIM_STRING | MIIM_ID;
    mi.dwTypeData = const_cast<wchar_t*>(caption_.c_str());
  }
  mi.wID = id_;
  InsertMenuItemW(into, GetMenuItemCount(into), TRUE, &mi);
}

void Menu::CreateTop(Form& form, const std::wstring& caption) {
  form.Load();
  form_ = &form;
  id_ = form.NextId();
  form.menus_[id_] = this;
  caption_ = caption;
  sub_ = nullptr;
  if (!form.menuBar_) form.menuBar_ = CreateMenu();
  Insert(form.menuBar_, false);
}

void Menu::Create(Menu& parent, const std::wstring& caption) {
  form_ = parent.form_;
  id_ = form_->NextId();
  form_->menus_[id_] = this;
  caption_ = caption;
  sub_ = nullptr;
  Insert(parent.Handle(), false);
}

void Menu::CreateSeparator(Menu& parent) {
  form_ = parent.form_;
  id_ = form_->NextId();
  caption_ = L"-";
  sub_ = nullptr;
  Insert(parent.Handle(), true);
}

void Menu::CreatePopup(Form& form, const std::wstring& caption) {
  form.Load();
  form_ = &form;
  id_ = form.NextId();
  caption_ = caption;
  if (!in_ && sub_) DestroyMenu(sub_);  // the one of the form's previous load
  in_ = nullptr;
  sub_ = nullptr;
}

// The entry's items: made on first use, and hung under the entry when it is in a menu.
HMENU Menu::Handle() {
  if (!sub_) {
    sub_ = CreatePopupMenu();
    if (in_) {
      MENUITEMINFOW mi{};
      mi.cbSize = sizeof mi;
      mi.fMask = MIIM_SUBMENU;
      mi.hSubMenu = sub_;
      SetMenuItemInfoW(in_, id_, FALSE, &mi);
    }
  }
  return sub_;
}

void Menu::Caption(const std::wstring& text) {
  caption_ = text;
  if (!in_) return;
  MENUITEMINFOW mi{};
  mi.cbSize = sizeof mi;
  mi.fMask = MIIM_STRING;
  mi.dwTypeData = const_cast<wchar_t*>(caption_.c_str());
  SetMenuItemInfoW(in_, id_, FALSE, &mi);
  Redraw();
}

void Menu::Enabled(bool on) {
  enabled_ = on;
  if (!in_) return;
  EnableMenuItem(in_, id_, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
  Redraw();
}

void Menu::Checked(bool on) {
  checked_ = on;
  if (in_) CheckMenuItem(in_, id_, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

void Menu::Redraw() {
  if (form_ && form_->hWnd() && in_ == form_->menuBar_) DrawMenuBar(form_->hWnd());
}

}  // namespace forms
