#include <gtest/gtest.h>

#include <vector>

#include "search/hit_column.h"

namespace zedade {
namespace {

struct HitCase {
  const char* name;
  int outerWidth;
  std::vector<int> widths;
  int x;
  int column;
};

class HitColumnTest : public ::testing::TestWithParam<HitCase> {};

TEST_P(HitColumnTest, MeasuresColumnsFromTheRightEdge) {
  const HitCase& c = GetParam();
  EXPECT_EQ(HitColumn(c.outerWidth, c.widths, c.x), c.column);
}

// The window's list: 352 wide, columns 1, 266 and 88; bounds 259 after column 2, -12 after column 1.
// Other widths {50, 60, 70} in 200: bounds 125, 60, 5.
INSTANTIATE_TEST_SUITE_P(
    Table, HitColumnTest,
    ::testing::Values(HitCase{"DefaultLayoutRightEdgeIsTitle", 352, {1, 266, 88}, 351, 2},
                      HitCase{"DefaultLayoutJustPastBoundIsTitle", 352, {1, 266, 88}, 260, 2},
                      HitCase{"DefaultLayoutOnBoundIsAddress", 352, {1, 266, 88}, 259, 1},
                      HitCase{"DefaultLayoutLeftEdgeIsAddressNeverColumn0", 352, {1, 266, 88}, 0, 1},
                      HitCase{"OtherWidthsPastFirstBound", 200, {50, 60, 70}, 126, 2},
                      HitCase{"OtherWidthsOnSecondBoundReachColumn0", 200, {50, 60, 70}, 60, 0},
                      HitCase{"OtherWidthsJustPastLastBoundIsColumn0", 200, {50, 60, 70}, 6, 0},
                      HitCase{"OtherWidthsOnLastBoundHitsNothing", 200, {50, 60, 70}, 5, -1},
                      HitCase{"OtherWidthsLeftEdgeHitsNothing", 200, {50, 60, 70}, 0, -1},
                      HitCase{"NoColumns", 352, {}, 100, -1},
                      HitCase{"PressBeyondTheOuterWidthStillRightmost", 352, {1, 266, 88}, 5000, 2}),
    [](const ::testing::TestParamInfo<HitCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zedade
