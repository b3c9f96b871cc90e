// Extraction of result rows from generated results pages: the linear search beside Boost's own
// search-all and beside a floor, one scan of the same page for the entry's opening.
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text.h"
#include "results_page.h"
#include "search/lazy_chain.h"
#include "search/search_entry_pattern.h"
#include "search/search_rows.h"

namespace zedade {
namespace {

using testing::EntryHtml;
using testing::ListingGap;
using testing::ResultEntry;

// The opening span, up to the first group.
constexpr std::string_view kOpening = SearchEntryPattern.substr(0, SearchEntryPattern.find("(.*?)"));

// A page (GBK) of `entries` complete entries, each after about 300 bytes of listing markup.
const Text& WellFormedPage(int entries) {
  static std::map<int, Text> pages;
  Text& page = pages[entries];
  if (page.empty()) {
    std::string utf8 = "<html><body><ul class=\"site-piclist\">";
    for (int i = 0; i < entries; ++i) {
      const std::string n = std::to_string(i);
      utf8 += ListingGap(i) + EntryHtml(ResultEntry{"http://v.example.com/v_19rrok" + n + ".html",
                                                    "第" + n + "集 重逢", "更新至" + n + "集"});
    }
    page = Gbk(utf8 + "</ul></body></html>");
  }
  return page;
}

// A page (GBK) of `openings` entry openings whose entries never follow: 390 bytes an opening.
const Text& OpeningOnlyPage(int openings) {
  static std::map<int, Text> pages;
  Text& page = pages[openings];
  if (page.empty()) {
    std::string utf8 = "<html><body><ul class=\"site-piclist\">";
    for (int i = 0; i < openings; ++i) {
      std::string item = ListingGap(i) + std::string(kOpening) + "全" + std::to_string(i % 100) +
                         "集</span></div><div class=\"mod-listTitle_left\">";
      item.resize(390, ' ');
      utf8 += item;
    }
    page = Gbk(utf8 + "</ul></body></html>");
  }
  return page;
}

template <class Extract>
void RunExtraction(benchmark::State& state, const Text& page, Extract extract) {
  std::size_t rows = 0;
  for (auto _ : state) {
    auto found = extract(page);
    rows = found.size();
    benchmark::DoNotOptimize(found);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
  state.counters["rows"] = static_cast<double>(rows);
  state.counters["MB"] = static_cast<double>(page.size()) / 1e6;
}

void ScanFloor(benchmark::State& state, const Text& page) {
  const std::string_view text = page;
  std::size_t openings = 0;
  for (auto _ : state) {
    openings = 0;
    for (auto at = text.find(kOpening); at != std::string_view::npos; at = text.find(kOpening, at + kOpening.size()))
      ++openings;
    benchmark::DoNotOptimize(openings);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
  state.counters["openings"] = static_cast<double>(openings);
  state.counters["MB"] = static_cast<double>(page.size()) / 1e6;
}

const detail::LazyChain& EntryChain() {
  static const detail::LazyChain chain(SearchEntryPattern);
  return chain;
}

// The two halves of ExtractSearchRows' work on a page, each alone: the literal scans that locate
// every match, and Boost's anchored match of each located span (spans located before timing).
void LocateOnly(benchmark::State& state, const Text& page) {
  const std::string_view text = page;
  std::size_t spans = 0;
  for (auto _ : state) {
    spans = 0;
    for (auto span = EntryChain().locate(text, 0); span; span = EntryChain().locate(text, span->end)) ++spans;
    benchmark::DoNotOptimize(spans);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
  state.counters["spans"] = static_cast<double>(spans);
}

void ConfirmOnly(benchmark::State& state, const Text& page) {
  const std::string_view text = page;
  std::vector<detail::LazyChain::Span> spans;
  for (auto span = EntryChain().locate(text, 0); span; span = EntryChain().locate(text, span->end))
    spans.push_back(*span);
  boost::cmatch match;
  for (auto _ : state) {
    for (const auto& span : spans) benchmark::DoNotOptimize(EntryChain().confirm(text, span, match));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
  state.counters["spans"] = static_cast<double>(spans.size());
}

void BM_WellFormed_ScanFloor(benchmark::State& state) { ScanFloor(state, WellFormedPage(state.range(0))); }
void BM_WellFormed_LocateOnly(benchmark::State& state) { LocateOnly(state, WellFormedPage(state.range(0))); }
void BM_WellFormed_ConfirmOnly(benchmark::State& state) { ConfirmOnly(state, WellFormedPage(state.range(0))); }
void BM_WellFormed_Extract(benchmark::State& state) {
  RunExtraction(state, WellFormedPage(state.range(0)), ExtractSearchRows);
}
void BM_WellFormed_PlainBoost(benchmark::State& state) {
  RunExtraction(state, WellFormedPage(state.range(0)), ExtractSearchRowsPlainBoost);
}
void BM_OpeningOnly_ScanFloor(benchmark::State& state) { ScanFloor(state, OpeningOnlyPage(state.range(0))); }
void BM_OpeningOnly_Extract(benchmark::State& state) {
  RunExtraction(state, OpeningOnlyPage(state.range(0)), ExtractSearchRows);
}
void BM_OpeningOnly_PlainBoost(benchmark::State& state) {
  RunExtraction(state, OpeningOnlyPage(state.range(0)), ExtractSearchRowsPlainBoost);
}

BENCHMARK(BM_WellFormed_ScanFloor)->Arg(1000)->Arg(20000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WellFormed_LocateOnly)->Arg(1000)->Arg(20000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WellFormed_ConfirmOnly)->Arg(1000)->Arg(20000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WellFormed_Extract)->Arg(1000)->Arg(20000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WellFormed_PlainBoost)->Arg(1000)->Arg(20000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OpeningOnly_ScanFloor)->Arg(1000)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpeningOnly_Extract)->Arg(1000)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);
// Quadratic: 20,000 openings would take minutes.
BENCHMARK(BM_OpeningOnly_PlainBoost)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zedade

BENCHMARK_MAIN();
