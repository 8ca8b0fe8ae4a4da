#include "listview.h"

#include <vector>

#include "form.h"
#include "twips.h"

namespace forms {

// ImageList

ImageList::~ImageList() {
  if (list_) ImageList_Destroy(list_);
}

void ImageList::Create(int widthPixels, int heightPixels) {
  if (list_) ImageList_Destroy(list_);
  list_ = ImageList_Create(widthPixels, heightPixels, ILC_COLOR32 | ILC_MASK, 4, 4);
}

int ImageList::Add(HICON icon) {
  if (!list_) Create();
  return ImageList_AddIcon(list_, icon) + 1;
}

int ImageList::Count() const { return list_ ? ImageList_GetImageCount(list_) : 0; }
HICON ImageList::Icon(int image) const {
  return list_ ? ImageList_GetIcon(list_, image - 1, ILD_NORMAL) : nullptr;
}

// ListView

void ListView::Create(Form& form, Control* container, int left, int top, int width, int height) {
  CreateWin(form, container, WC_LISTVIEWW, L"",
            WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS,
            WS_EX_CLIENTEDGE, left, top, width, height);
}

void ListView::FullRowSelect(bool on) {
  Send(LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, on ? LVS_EX_FULLROWSELECT : 0);
}

void ListView::GridLines(bool on) {
  Send(LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES, on ? LVS_EX_GRIDLINES : 0);
}

void ListView::SmallIcons(ImageList& images) {
  Send(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images.Handle()));
}

int ListView::AddColumn(const std::wstring& text, int width, int alignment) {
  LVCOLUMNW col{};
  col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
  col.fmt = alignment;
  col.cx = PixelsX(width);
  col.pszText = const_cast<wchar_t*>(text.c_str());
  int n = ColumnCount();
  return static_cast<int>(Send(LVM_INSERTCOLUMNW, n, reinterpret_cast<LPARAM>(&col))) + 1;
}

int ListView::ColumnCount() const {
  HWND header = reinterpret_cast<HWND>(Send(LVM_GETHEADER));
  return header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

void ListView::ColumnWidth(int column, int width) {
  Send(LVM_SETCOLUMNWIDTH, column - 1, PixelsX(width));
}
int ListView::ColumnWidth(int column) const {
  return TwipsX(static_cast<int>(Send(LVM_GETCOLUMNWIDTH, column - 1)));
}

int ListView::Count() const { return static_cast<int>(Send(LVM_GETITEMCOUNT)); }

int ListView::Add(const std::wstring& text, int smallIcon) {
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = Count();
  item.iImage = smallIcon - 1;
  item.pszText = const_cast<wchar_t*>(text.c_str());
  return static_cast<int>(Send(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item))) + 1;
}

void ListView::Remove(int row) { Send(LVM_DELETEITEM, row - 1); }
void ListView::Clear() { Send(LVM_DELETEALLITEMS); }

std::wstring ListView::SubItem(int row, int sub) const {
  std::vector<wchar_t> buf(1024);
  for (;;) {
    LVITEMW item{};
    item.iSubItem = sub;
    item.pszText = buf.data();
    item.cchTextMax = static_cast<int>(buf.size());
    auto n = static_cast<size_t>(Send(LVM_GETITEMTEXTW, row - 1, reinterpret_cast<LPARAM>(&item)));
    if (n + 1 < buf.size()) return std::wstring(buf.data(), n);
    buf.resize(buf.size() * 4);
  }
}

void ListView::SubItem(int row, int sub, const std::wstring& text) {
  LVITEMW item{};
  item.iSubItem = sub;
  item.pszText = const_cast<wchar_t*>(text.c_str());
  Send(LVM_SETITEMTEXTW, row - 1, reinterpret_cast<LPARAM>(&item));
}

std::wstring ListView::ItemText(int row) const { return SubItem(row, 0); }
void ListView::ItemText(int row, const std::wstring& text) { SubItem(row, 0, text); }

int ListView::SmallIcon(int row) const {
  LVITEMW item{};
  item.mask = LVIF_IMAGE;
  item.iItem = row - 1;
  if (!Send(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return 0;
  return item.iImage + 1;
}

void ListView::SmallIcon(int row, int image) {
  LVITEMW item{};
  item.mask = LVIF_IMAGE;
  item.iItem = row - 1;
  item.iImage = image - 1;
  Send(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

int ListView::SelectedItem() const {
  return static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)) + 1;
}

void ListView::Select(int row) {
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  if (row <= 0) {
    Send(LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    return;
  }
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  selecting_ = true;
  Send(LVM_SETITEMSTATE, row - 1, reinterpret_cast<LPARAM>(&item));
  selecting_ = false;
  Send(LVM_ENSUREVISIBLE, row - 1, FALSE);
}

// The list view runs its own loop on a right press and eats the release: its click
// notifications stand in for MouseUp.
bool ListView::Reflect(UINT msg, WPARAM, LPARAM lp, LRESULT&) {
  if (msg != WM_NOTIFY) return false;
  auto* nm = reinterpret_cast<NMHDR*>(lp);
  switch (nm->code) {
    case NM_CLICK:
    case NM_RCLICK: {
      auto* ia = reinterpret_cast<NMITEMACTIVATE*>(lp);
      int button = nm->code == NM_CLICK ? 1 : 2;
      if (button == 1 && ia->iItem >= 0 && ItemClick) ItemClick(ia->iItem + 1);
      if (button == 1 && Click) Click();
      if (MouseUp) MouseUp(button, ShiftState(), TwipsX(ia->ptAction.x), TwipsY(ia->ptAction.y));
      break;
    }
    case NM_DBLCLK:
      if (DblClick) DblClick();
      break;
    case LVN_ITEMCHANGED: {
      // A row chosen with the keyboard counts as clicked, as a mouse choice does.
      auto* lv = reinterpret_cast<NMLISTVIEW*>(lp);
      if ((lv->uChanged & LVIF_STATE) && (lv->uNewState & LVIS_SELECTED) &&
          !(lv->uOldState & LVIS_SELECTED) && GetKeyState(VK_LBUTTON) >= 0 &&
          GetFocus() == hWnd() && !selecting_ && ItemClick)
        ItemClick(lv->iItem + 1);
      break;
    }
  }
  return false;
}

}  // namespace forms
