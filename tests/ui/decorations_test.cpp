// The clock text, the colours and the marquee's step (no window needed).
#include <gtest/gtest.h>

#include "platform/text.h"
#include "ui/decorations.h"

namespace zedade::ui {
namespace {

struct ClockCase {
  const char* name;
  LocalDateTime time;
  const char* expected;
};

TEST(ClockText, DropsTrailingZeroPartsAndLeadingZeros) {
  const ClockCase cases[] = {
      {"MinutesWithoutSeconds", {2017, 3, 1, 9, 5, 0}, "2017年3月1日9时5分"},
      {"WholeHour", {2017, 3, 1, 9, 0, 0}, "2017年3月1日9时"},
      {"MidnightShowsTheDateAlone", {2017, 3, 1, 0, 0, 0}, "2017年3月1日"},
      {"SecondsAfterMidnightShowEveryPart", {2017, 3, 1, 0, 0, 7}, "2017年3月1日0时0分7秒"},
      {"MinutesAfterMidnight", {2017, 3, 1, 0, 5, 0}, "2017年3月1日0时5分"},
      {"EveryPart", {2026, 12, 31, 23, 59, 58}, "2026年12月31日23时59分58秒"},
  };
  for (const ClockCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ClockText(c.time), Gbk(c.expected));
  }
}

TEST(Colours, EachDrawCountsModulo256) {
  EXPECT_EQ(PackedColour(1000, 256, 0), 232u);  // red 232, green 0, blue 0
  EXPECT_EQ(PackedColour(0, 0, 255), 0xFF0000u);
  EXPECT_EQ(PackedColour(255, 255, 255), 0xFFFFFFu);
}

TEST(Marquee, MovesOnePixelLeftAndWrapsAtMinusTheWidth) {
  EXPECT_EQ(MarqueeStep(544, 992), 543);
  EXPECT_EQ(MarqueeStep(-990, 992), -991);
  EXPECT_EQ(MarqueeStep(-991, 992), 992);  // reaches -992 and comes back in the same tick
  EXPECT_EQ(MarqueeStep(-991, 1200), -992);  // a wider window wraps later
  EXPECT_EQ(MarqueeStep(-1199, 1200), 1200);
}

}  // namespace
}  // namespace zedade::ui
