#include "SelectedContainer.h"

namespace desk {

bool GetSelected(const forms::ListView& rows, SelectedContainer& selected) {
  selected.row = rows.SelectedItem();
  if (selected.row < 1) return false;
  selected.path = rows.SubItem(selected.row, 2) + rows.SubItem(selected.row, 1);
  return true;
}

}  // namespace desk
