#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "search/search_entry_pattern.h"

namespace zedade {
namespace {

TEST(SearchEntryPattern, IsTheSevenLinesOfTheEntryJoinedByCrLf) {
  // (leading spaces, text) of each line, as the results page lays an entry out.
  const std::vector<std::pair<int, std::string>> lines = {
      {0, R"-(class="mod-listTitle"><span class="mod-listTitle_right">(.*?)</span></div>)-"},
      {40, R"-(</div>)-"},
      {36, R"-(</a>)-"},
      {32, R"-(</div>)-"},
      {32, R"-(<div class="site-piclist_info">)-"},
      {36, R"-(<p class="site-piclist_info_title"><a href="(.*?)" rseat="(.*?)">(.*?)</a></p>)-"},
      {36, R"-(<p class="site-piclist_info_title fs12"><a href="(.*?)" rseat="(.*?)">(.*?)</a></p>)-"},
  };
  std::string expected;
  for (const auto& [spaces, text] : lines) {
    if (!expected.empty()) expected += "\r\n";
    expected += std::string(spaces, ' ') + text;
  }

  EXPECT_EQ(SearchEntryPattern.size(), 506u);
  EXPECT_EQ(std::string(SearchEntryPattern), expected);
}

}  // namespace
}  // namespace zedade
