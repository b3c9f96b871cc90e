#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "platform/text.h"
#include "update/announcement.h"
#include "update/text_between.h"
#include "update/version.h"

namespace zedade {
namespace {

// 0xB0 0x61 is one GBK character whose second byte reads as "a" on its own.
const std::string kTrailA = "\xB0\x61";

TEST(TextBetweenTest, CutsUpToTheFirstEndMarkerAfterTheStart) {
  struct Case {
    const char* name;
    std::string text, start, end, expected;
  };
  const Case cases[] = {
      {"ValueBeforeEnd", "x a=1.3} y", "a=", "}", "1.3"},
      {"NoEndAfterStart", "} a=1.3", "a=", "}", ""},
      {"EndRightAfterStart", "a=}", "a=", "}", ""},
      {"EndRightAfterStartDespiteLaterEnd", "a=}1}", "a=", "}", ""},
      {"FirstEndNotLast", "a=1}2}", "a=", "}", "1"},
      {"FirstStartNotLast", "a=1} a=2}", "a=", "}", "1"},
      {"StartMissing", "b=1}", "a=", "}", ""},
      {"CaseMatters", "A=1}", "a=", "}", ""},
      {"EmptyText", "", "a=", "}", ""},
      {"MultiByteMarkers", Gbk("标题=播放器完毕"), Gbk("标题="), Gbk("完毕"), Gbk("播放器")},
      // A byte-wise search would find "a=" at the character's second byte and give "5".
      {"StartOnSecondByteOfACharacter", kTrailA + "=5}", "a=", "}", ""},
      {"StartAfterADoubleByteCharacter", kTrailA + "a=5}", "a=", "}", "5"},
      // The start marker "\xE7\xD3" spans the end of one character and the start of the next.
      {"StartAcrossTwoCharacters", Gbk("电影") + "=1}", "\xE7\xD3", "=", ""},
      {"EndOnSecondByteOfACharacter", "k=" + kTrailA + "b", "k=", "ab", ""},
      {"EndAfterADoubleByteCharacter", "k=" + kTrailA + "ab", "k=", "ab", kTrailA},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TextBetween(c.text, c.start, c.end), c.expected) << c.name;
  }
}

TEST(TextBetweenTest, FindTextWalksCharacters) {
  const std::string text = kTrailA + "xa" + kTrailA + "a";
  EXPECT_EQ(FindText(text, "a"), 3u);
  EXPECT_EQ(FindText(text, "a", 4), 6u);
  EXPECT_EQ(FindText(text, "x"), 2u);
  EXPECT_EQ(FindText(text, "\x61\x78"), std::string_view::npos);  // second byte + "x"
  EXPECT_EQ(FindText(text, ""), 0u);
  EXPECT_EQ(FindText("", "a"), std::string_view::npos);
  EXPECT_EQ(FindText("\xB0", "\xB0\x61"), std::string_view::npos);  // a cut-off lead byte
}

TEST(VersionTest, TextToNumber) {
  struct Case {
    const char* name;
    std::string text;
    double expected;
  };
  const Case cases[] = {
      {"Plain", "1.2", 1.2},
      {"DottedReadsItsDecimalPrefix", "1.2.5", 1.2},
      {"TrailingText", "1.3beta", 1.3},
      {"LeadingWhiteSpace", " \t\r\n\v\f1.3", 1.3},
      {"FullWidthDigitsAndPoint", Gbk("１．２"), 1.2},
      {"FullWidthDigitsAsciiPoint", Gbk("１.２"), 1.2},
      {"IdeographicSpaceThenFullWidth", Gbk("　１．３"), 1.3},
      {"FullWidthSign", Gbk("－２"), -2},
      {"Signs", "-1.5", -1.5},
      {"PlusSign", "+2", 2},
      {"LeadingPoint", ".5", 0.5},
      {"TrailingPoint", "7.", 7},
      {"Exponent", "1.5e2", 150},
      {"IncompleteExponentIgnored", "1e+", 1},
      {"NotANumber", "abc", 0},
      {"PrefixBeforeDigits", "v1.2", 0},
      {"LonePoint", ".", 0},
      {"LoneSign", "-", 0},
      {"Empty", "", 0},
      {"OnlyWhiteSpace", "   ", 0},
      {"NoHexadecimal", "0x1A", 0},
      {"NoInfinity", "inf", 0},
      {"NoNan", "nan", 0},
      {"OtherGbkCharacter", Gbk("版本1.2"), 0},
      {"Overflow", "1e999", std::numeric_limits<double>::infinity()},
      {"Underflow", "1e-999", 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TextToNumber(c.text), c.expected) << c.name;
  }
}

TEST(VersionTest, ComparesWithTheTolerance) {
  struct Case {
    const char* latest;
    VersionOrder expected;
  };
  const Case cases[] = {
      {"1.2", VersionOrder::Same},
      {"1.20000001", VersionOrder::Same},  // 1e-8 apart
      {"1.2000001", VersionOrder::Newer},  // the two reals differ by just over 1e-7
      {"1.1999999", VersionOrder::Older},
      {"1.3", VersionOrder::Newer},
      {"1.10", VersionOrder::Older},  // a number, not a list of components
      {"1.2.5", VersionOrder::Same},
      {" 1.2", VersionOrder::Same},
      {"\xA3\xB1\xA3\xAE\xA3\xB2", VersionOrder::Same},  // full-width "1.2"
      {"\xA3\xB1\xA3\xAE\xA3\xB3", VersionOrder::Newer},  // full-width "1.3"
      {"new", VersionOrder::Older},                       // reads as 0
      {"", VersionOrder::Older},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CompareVersions(c.latest, "1.2"), c.expected) << '"' << c.latest << '"';
  }
}

TEST(AnnouncementTest, ReadsTheKeysInAnyOrderFromTheBlockOnly) {
  const Text page = Gbk(
      "<html>最新版本=9.9} 窗口标题=外面{\n"
      "////开始\n"
      "更新说明=欢迎使用，新片已上线#\n"
      "更新地址=http://dl.example.com/new.exe完毕\n"
      "窗口标题=影视播放器 1.3{\n"
      "最新版本=1.3}\n"
      "////结束 更新说明=外面#</html>");

  const Announcement announcement = ParseAnnouncement(page);
  EXPECT_EQ(announcement.latest, "1.3");
  EXPECT_EQ(announcement.caption, Gbk("影视播放器 1.3"));
  EXPECT_EQ(announcement.updateAddress, "http://dl.example.com/new.exe");
  EXPECT_EQ(announcement.notice, Gbk("欢迎使用，新片已上线"));
}

TEST(AnnouncementTest, MissingEndMarkersGiveEmptyValues) {
  // The "}" and "#" after the block's end must not complete the values inside it.
  const Text page = Gbk(
      "////开始 最新版本=1.3 窗口标题={ 更新地址=http://dl.example.com/a.exe完毕 更新说明=公告"
      "////结束 } #");

  const Announcement announcement = ParseAnnouncement(page);
  EXPECT_EQ(announcement.latest, "");
  EXPECT_EQ(announcement.caption, "");
  EXPECT_EQ(announcement.updateAddress, "http://dl.example.com/a.exe");
  EXPECT_EQ(announcement.notice, "");
}

TEST(AnnouncementTest, PagesWithoutAGbkBlockGiveNothing) {
  const std::string keys = "最新版本=1.2} 窗口标题=播放器{ 更新地址=http://x完毕 更新说明=公告#";
  struct Case {
    const char* name;
    std::string page;
  };
  const Case cases[] = {
      {"Utf8Page", "////开始 " + keys + " ////结束"},
      {"NoBlockEnd", Gbk("////开始 " + keys)},
      {"NoBlockStart", Gbk(keys + " ////结束")},
      {"Empty", ""},
  };
  for (const Case& c : cases) {
    const Announcement announcement = ParseAnnouncement(c.page);
    EXPECT_EQ(announcement.latest, "") << c.name;
    EXPECT_EQ(announcement.caption, "") << c.name;
    EXPECT_EQ(announcement.updateAddress, "") << c.name;
    EXPECT_EQ(announcement.notice, "") << c.name;
  }
}

}  // namespace
}  // namespace zedade
