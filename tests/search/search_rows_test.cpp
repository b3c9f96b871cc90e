#include <gtest/gtest.h>

#include <boost/regex.hpp>

#include <ostream>
#include <random>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/text.h"
#include "results_page.h"
#include "search/lazy_chain.h"
#include "search/search_entry_pattern.h"
#include "search/search_rows.h"

namespace zedade {

void PrintTo(const SearchRow& row, std::ostream* os) {
  auto readable = [](const Text& gbk) { return gbk.empty() || !Utf8(gbk).empty() ? Utf8(gbk) : gbk; };
  *os << "{\"" << readable(row.address) << "\", \"" << readable(row.title) << "\"}";
}

namespace {

using testing::EntryHtml;
using testing::ListingGap;
using testing::ReplaceFirst;
using testing::ResultEntry;

using Utf8Rows = std::vector<std::pair<std::string, std::string>>;

const ResultEntry kFirst{"http://v.example.com/v_19rrok4nt0.html", "第1集 重逢"};
const ResultEntry kSecond{"http://v.example.com/v_19rrok4p1k.html", "第2集 离别"};
const ResultEntry kThird{"http://v.example.com/v_19rrok4q8c.html", "第3集"};

// A results page holding the given entries' markup, each after the listing markup of its item.
std::string Page(const std::vector<std::string>& entries) {
  std::string page = "<html><head><meta charset=\"utf-8\"></head><body><ul class=\"site-piclist\">";
  for (std::size_t i = 0; i < entries.size(); ++i) page += ListingGap(static_cast<int>(i)) + entries[i];
  return page + "\r\n    </div>\r\n  </li>\r\n</ul></body></html>\r\n";
}

std::vector<SearchRow> GbkRows(const Utf8Rows& rows) {
  std::vector<SearchRow> gbk;
  for (const auto& [address, title] : rows) gbk.push_back({Gbk(address), Gbk(title)});
  return gbk;
}

struct PageCase {
  std::string name;
  std::string body;  // as fetched: UTF-8 unless the case says otherwise
  Utf8Rows rows;
};

std::vector<PageCase> PageCases() {
  const std::string first = EntryHtml(kFirst);
  const std::string second = EntryHtml(kSecond);
  const std::string third = EntryHtml(kThird);
  const std::pair<std::string, std::string> row1{kFirst.address, kFirst.title};
  const std::pair<std::string, std::string> row2{kSecond.address, kSecond.title};
  const std::pair<std::string, std::string> row3{kThird.address, kThird.title};
  ResultEntry noTitle = kFirst;
  noTitle.title = "";
  ResultEntry noAddress = kFirst;
  noAddress.address = "";

  return {
      {"EmptyBody", "", {}},
      {"PageWithoutEntries", "<html><body>没有找到相关结果</body></html>", {}},
      {"ThreeEntriesInPageOrder", Page({first, second, third}), {row1, row2, row3}},
      // The opening line's break is LF alone: the match begun there runs on to the next entry.
      {"LfAloneStretchesIntoNextEntry",
       Page({ReplaceFirst(first, "</div>\r\n", "</div>\n"), second, third}),
       {row2, row3}},
      {"LfAloneInLastEntryGivesNoRow", Page({first, ReplaceFirst(second, "</p>\r\n", "</p>\n")}), {row1}},
      {"OtherIndentationStretchesIntoNextEntry",
       Page({ReplaceFirst(first, std::string(36, ' ') + "</a>", std::string(35, ' ') + "</a>"), second}),
       {row2}},
      {"ChangedOpeningSpanStartsNoMatch",
       Page({ReplaceFirst(first, "mod-listTitle_right", "mod-listTitle-right"), second, third}),
       {row2, row3}},
      {"OpeningInOtherLetterCaseStartsNoMatch",
       Page({ReplaceFirst(first, "class=\"mod-listTitle\"", "CLASS=\"mod-listTitle\""), second}),
       {row2}},
      {"AttributeNameInCapitalsDoesNotMatch", Page({ReplaceFirst(first, "<a href=", "<a HREF=")}), {}},
      {"EmptyLinkTextGivesEmptyTitle", Page({EntryHtml(noTitle)}), {{kFirst.address, ""}}},
      {"EmptyLinkAddressGivesEmptyAddress", Page({EntryHtml(noAddress)}), {{"", kFirst.title}}},
      {"GbkPageGivesNoRow", Gbk(Page({first, second})), {}},
      {"OneInvalidUtf8ByteGivesNoRow", Page({first, "<b>\xFF</b>" + second}), {}},
      {"IncompleteUtf8AtTheEndGivesNoRow", Page({first, second}) + "\xE4\xB8", {}},
      {"ZeroByteEndsThePage", Page({first, std::string(1, '\0') + second}), {row1}},
  };
}

class ExtractionTable : public ::testing::TestWithParam<PageCase> {};

TEST_P(ExtractionTable, RowsFromFetchedBody) {
  EXPECT_EQ(SearchRowsFromBody(GetParam().body), GbkRows(GetParam().rows));
}

TEST_P(ExtractionTable, FastSearchGivesThePlainBoostRows) {
  const std::string& body = GetParam().body;
  const Text text = TextOfBlock(ConvertEncoding(body, "UTF-8", "GB18030"));
  EXPECT_EQ(ExtractSearchRows(text), ExtractSearchRowsPlainBoost(text));
  // The unconverted bytes too: GBK entries and bytes past a zero byte are searched there.
  EXPECT_EQ(ExtractSearchRows(body), ExtractSearchRowsPlainBoost(body));
}

INSTANTIATE_TEST_SUITE_P(Pages, ExtractionTable, ::testing::ValuesIn(PageCases()),
                         [](const ::testing::TestParamInfo<PageCase>& info) { return info.param.name; });

TEST(ExtractSearchRows, StretchedMatchCarriesTheMarkupBetweenEntriesInItsTitle) {
  // The first entry lacks its second title line, so its title runs on to the second entry's title.
  const std::string first = EntryHtml(kFirst);
  const std::string body =
      Page({first.substr(0, first.find("\r\n" + std::string(36, ' ') + "<p class=\"site-piclist_info_title fs12\"")),
            EntryHtml(kSecond), EntryHtml(kThird)});
  const std::size_t titleStart = body.find(kFirst.title);
  const std::size_t titleEnd = body.find(kSecond.title) + kSecond.title.size();

  const std::vector<SearchRow> rows = SearchRowsFromBody(body);
  EXPECT_EQ(rows, GbkRows({{kFirst.address, body.substr(titleStart, titleEnd - titleStart)},
                           {kThird.address, kThird.title}}));
  const Text text = Gbk(body);
  EXPECT_EQ(ExtractSearchRows(text), ExtractSearchRowsPlainBoost(text));
}

// Pages pieced together at random from entries, damaged entries, bare openings and loose pieces of
// the entry: the fast search must give Boost's own rows on every one.
TEST(ExtractSearchRows, RandomPagesGiveThePlainBoostRows) {
  std::mt19937 random(20240521);
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  const std::vector<std::string> fields = {"", "x", "第5集", "\r\n", "\"", "</a></p>", "\">"};
  const std::vector<std::string> loosePieces = {
      "class=\"mod-listTitle\"><span class=\"mod-listTitle_right\">", "</span></div>\r\n", "\" rseat=\"",
      "\">", "</a></p>", "</a></p>\r\n", std::string(SearchEntryPattern.substr(80, 200))};

  std::size_t totalRows = 0;
  for (int pageNo = 0; pageNo < 400; ++pageNo) {
    std::string page;
    const int fragments = pick(10);
    for (int f = 0; f < fragments; ++f) {
      ResultEntry entry{fields[pick(fields.size())], fields[pick(fields.size())], fields[pick(fields.size())]};
      entry.address2 = fields[pick(fields.size())];
      std::string entryHtml = EntryHtml(entry);
      switch (pick(6)) {
        case 0:
        case 1:
          page += entryHtml;
          break;
        case 2: {  // one byte changed, dropped or added anywhere
          const std::size_t at = pick(static_cast<int>(entryHtml.size()));
          const int how = pick(3);
          if (how == 0) entryHtml[at] = 'X';
          if (how == 1) entryHtml.erase(at, 1);
          if (how == 2) entryHtml.insert(at, 1, '\n');
          page += entryHtml;
          break;
        }
        case 3:  // cut short
          page += entryHtml.substr(0, pick(static_cast<int>(entryHtml.size())));
          break;
        case 4:
          page += loosePieces[pick(loosePieces.size())];
          break;
        default:
          page += ListingGap(f);
      }
    }
    SCOPED_TRACE("page " + std::to_string(pageNo));
    const std::vector<SearchRow> rows = ExtractSearchRows(page);
    ASSERT_EQ(rows, ExtractSearchRowsPlainBoost(page));
    totalRows += rows.size();
  }
  EXPECT_GT(totalRows, 100u);  // the pages did hold entries to find
}

TEST(ExtractSearchRows, OpeningsThatNeverCompleteEndTheSearchWithTheCompleteEntriesRows) {
  // Enough bare openings to keep a naive search busy for seconds; each needs the whole rest scanned.
  std::vector<std::string> items = {EntryHtml(kFirst), EntryHtml(kSecond), EntryHtml(kThird)};
  const std::string bareOpening = "class=\"mod-listTitle\"><span class=\"mod-listTitle_right\">全12集</span></div>";
  items.resize(items.size() + 5000, bareOpening);
  EXPECT_EQ(SearchRowsFromBody(Page(items)),
            GbkRows({{kFirst.address, kFirst.title}, {kSecond.address, kSecond.title}, {kThird.address, kThird.title}}));
}

TEST(ExtractSearchRows, BoostGivingUpKeepsTheRowsFoundBefore) {
  // Two complete matches, then a run of starts that never complete: Boost's search-all counts the
  // states of every start against one limit and abandons the last search as too complex.
  const std::string pattern = "x(.*?)y(.*?)z";
  const std::string page = "x1y2z x3y4z " + std::string(30000, 'x');
  const boost::regex re(pattern, boost::regex::perl | boost::regex::mod_s);
  boost::cmatch unused;
  ASSERT_THROW(boost::regex_search(page.data() + 12, page.data() + page.size(), unused, re), std::runtime_error);

  const std::vector<SearchRow> before = {{"1", "2"}, {"3", "4"}};
  EXPECT_EQ(detail::RowsByPlainBoost(page, re, 1, 2), before);
  // The chain search sees at once that nothing completes, so Boost never has to give up there.
  EXPECT_EQ(detail::RowsByChain(page, detail::LazyChain(pattern), 1, 2), before);
}

TEST(LazyChain, TakesOnlyLiteralPiecesJoinedByLazyGroups) {
  for (const char* pattern : {"(.*?)tail", "head(.*?)", "a(.*?)(.*?)b", "a.b(.*?)c", "a(.*)b", "a(b)c"}) {
    SCOPED_TRACE(pattern);
    EXPECT_THROW(detail::LazyChain{pattern}, std::invalid_argument);
  }
  EXPECT_NO_THROW(detail::LazyChain{SearchEntryPattern});
}

}  // namespace
}  // namespace zedade
