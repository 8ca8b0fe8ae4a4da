// ListView in report view, and the ImageList that gives it small icons.
// Rows, sub-items and images count from 1: row i, SubItem(i, 1) is the second column.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>

#include "control.h"

namespace forms {

class ImageList {
 public:
  ImageList() = default;
  ImageList(const ImageList&) = delete;
  ImageList& operator=(const ImageList&) = delete;
  ~ImageList();

  void Create(int widthPixels = 16, int heightPixels = 16);
  int Add(HICON icon);  // the new image's number, from 1
  int Count() const;
  HICON Icon(int image) const;  // a new icon; the caller destroys it
  HIMAGELIST Handle() const { return list_; }

 private:
  HIMAGELIST list_ = nullptr;
};

class ListView : public Control {
 public:
  // Report view, single selection, no label editing, never sorted.
  void Create(Form& form, Control* container, int left, int top, int width, int height);
  void FullRowSelect(bool on);
  void GridLines(bool on);
  void SmallIcons(ImageList& images);

  // Columns: width in twips; alignment LVCFMT_LEFT/RIGHT/CENTER.
  int AddColumn(const std::wstring& text, int width, int alignment = LVCFMT_LEFT);
  int ColumnCount() const;
  void ColumnWidth(int column, int width);
  int ColumnWidth(int column) const;

  int Count() const;
  int Add(const std::wstring& text, int smallIcon = 0);  // returns the row
  void Remove(int row);
  void Clear();
  std::wstring ItemText(int row) const;
  void ItemText(int row, const std::wstring& text);
  std::wstring SubItem(int row, int sub) const;
  void SubItem(int row, int sub, const std::wstring& text);
  int SmallIcon(int row) const;  // 0: none
  void SmallIcon(int row, int image);

  int SelectedItem() const;  // 0: none
  void Select(int row);      // selects, focuses and shows the row; 0 clears

  std::function<void(int row)> ItemClick;
  std::function<void()> Click;
  std::function<void()> DblClick;

 protected:
  bool Reflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  bool selecting_ = false;  // a choice made by the program raises no ItemClick
};

}  // namespace forms
