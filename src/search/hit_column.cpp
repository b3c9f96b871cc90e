#include "search/hit_column.h"

#include <cstdint>

namespace zedade {

int HitColumn(int outerWidth, const std::vector<int>& columnWidths, int x) {
  std::int64_t bound = outerWidth;  // wide enough that no width can overflow it
  for (int column = static_cast<int>(columnWidths.size()) - 1; column >= 0; --column) {
    bound -= std::int64_t{columnWidths[column]} + 5;
    if (x > bound) return column;
  }
  return -1;
}

}  // namespace zedade
