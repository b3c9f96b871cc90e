#pragma once

#include "config/addresses.h"

namespace zedade {

namespace ui {
class MainWindow;
}

// "收 索": fetches the results page whose address is in 编辑框5, appends one row per result to the
// list (address and title), then sends the browser to the universal parsing service for the same
// address, also when nothing was found. Blocks the window while it fetches.
void RunSearch(ui::MainWindow& window, const Addresses& addresses);

// A left-button press on the result list at x, before the list handles it: the cell of the
// selected row in the column under x (columns measured from the control's right edge) goes into
// 编辑框5, and the browser plays what 编辑框5 holds through the universal parsing service.
void OnResultListPressed(ui::MainWindow& window, const Addresses& addresses, int x);

}  // namespace zedade
