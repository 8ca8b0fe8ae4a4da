#pragma once
// The row of the main window's container list that a dialog works on.
#include <string>

#include "forms.h"

namespace desk {

struct SelectedContainer {
  int row = 0;        // from 1; its key in the container list
  std::wstring path;  // folder (sub-item 2) & file name (sub-item 1)
};

// The selected row; false when no row is selected, and then no dialog acts.
bool GetSelected(const forms::ListView& rows, SelectedContainer& selected);

}  // namespace desk
