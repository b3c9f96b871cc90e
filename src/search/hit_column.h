#pragma once

#include <vector>

namespace zedade {

// The result list's column under a press at `x` (pixels from the left of the client area). Columns
// are measured off from the control's right edge, its outer width (border and scroll bar included):
// each takes its width and 5 pixels more, and the first one, from the rightmost, whose left bound R
// has x > R is hit. Horizontal scrolling does not enter. -1 when no column is hit.
int HitColumn(int outerWidth, const std::vector<int>& columnWidths, int x);

}  // namespace zedade
