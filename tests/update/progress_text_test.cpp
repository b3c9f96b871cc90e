#include "update/progress_text.h"

#include <gtest/gtest.h>

#include "platform/text.h"

namespace zedade {
namespace {

TEST(ProgressTextTest, TimerTickTexts) {
  struct Case {
    const char* name;
    double totalSize;
    int64_t done;
    const char* percent;
    int bar;
    const char* doneText;
    const char* totalText;
  };
  const Case cases[] = {
      {"SizeUnknownYet", 0, 1536, "已完成：0%", 0, "已下载：1.5KB", "总大小：0KB"},
      {"TotalHalfRoundsAwayFromZero", 10000000, 0, "已完成：0%", 0, "已下载：0KB", "总大小：9765.63KB"},
      {"NinetyNinePointFiveIsAHundred", 1000, 995, "已完成：100%", 100, "已下载：0.97KB", "总大小：0.98KB"},
      {"ThirtyThreePointThree", 1000, 333, "已完成：33%", 33, "已下载：0.33KB", "总大小：0.98KB"},
      {"WholeKilobyteWithoutPoint", 4096, 1024, "已完成：25%", 25, "已下载：1KB", "总大小：4KB"},
      {"Complete", 3 * 1024 * 1024, 3 * 1024 * 1024, "已完成：100%", 100, "已下载：3072KB", "总大小：3072KB"},
      {"TinySizeCountsAsUnknown", 1e-8, 5, "已完成：0%", 0, "已下载：0KB", "总大小：0KB"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Utf8(PercentText(c.totalSize, c.done)), c.percent);
    EXPECT_EQ(ProgressBarPosition(c.totalSize, c.done), c.bar);
    EXPECT_EQ(Utf8(DoneText(c.done)), c.doneText);
    EXPECT_EQ(Utf8(TotalText(c.totalSize)), c.totalText);
  }
}

TEST(ProgressTextTest, RoundsHalvesAwayFromZeroAfterANudge) {
  struct Case {
    double x;
    int decimals;
    double expected;
  };
  const Case cases[] = {
      {0.0, 2, 0.0},      {2.5, 0, 3.0},      {-2.5, 0, -3.0},   {2.4999, 0, 2.0},
      {1.005, 2, 1.01},   // 100.49999999999999 before the nudge
      {2.675, 2, 2.68},   {-1.005, 2, -1.01}, {9765.625, 2, 9765.63}, {0.994, 2, 0.99},
  };
  for (const Case& c : cases) EXPECT_EQ(RoundHalfAway(c.x, c.decimals), c.expected) << c.x << " to " << c.decimals;
}

TEST(ProgressTextTest, RealsAreWrittenAsPercentPointThirteenG) {
  struct Case {
    double x;
    const char* expected;
  };
  const Case cases[] = {
      {0.0, "0"},       {1.5, "1.5"},           {100.0, "100"},          {9765.63, "9765.63"},
      {-0.25, "-0.25"}, {0.1 + 0.2, "0.3"},     {1e15, "1e+15"},         {1234567890123.4, "1234567890123"},
      {1e-5, "1e-05"},  {4194303.99, "4194303.99"},
  };
  for (const Case& c : cases) EXPECT_EQ(RealText(c.x), c.expected);
}

TEST(ProgressTextTest, TickReadsTheDoneLengthAfreshForEachText) {
  int64_t reads = 0;
  const ProgressTexts texts = ProgressOfTick(4096, [&] { return ++reads * 1024; });
  EXPECT_EQ(reads, 3);
  EXPECT_EQ(Utf8(texts.percent), "已完成：25%");
  EXPECT_EQ(texts.barPosition, 50);
  EXPECT_EQ(Utf8(texts.done), "已下载：3KB");
  EXPECT_EQ(Utf8(texts.total), "总大小：4KB");
}

}  // namespace
}  // namespace zedade
